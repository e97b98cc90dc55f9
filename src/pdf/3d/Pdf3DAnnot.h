// The 3D annotation (/Subtype /3D) and how a page gets one.
#pragma once

#include "pdf/PdfAnnotation.h"

class PdfBoolean;
class PdfPage;
class Pdf3DStream;
class Pdf3dAnnotActivation;
class Pdf3dView;

// An interactive 3D model on a page: activation (3DA), interactivity (3DI),
// default view (3DV) and the U3D data (3DD, an indirect Pdf3DStream). Each
// of these entries is added on first use. Creating one makes the document a
// PDF 1.6 document, the first version that knows 3D annotations.
class Pdf3DAnnot : public PdfAnnotation {
public:
    explicit Pdf3DAnnot(PdfXref* xref);
    ~Pdf3DAnnot() override = default;

    Pdf3dAnnotActivation* GetActivation();
    Pdf3dView* GetView();
    // 3DI, true unless set otherwise.
    bool GetInteractive();
    void SetInteractive(bool interactive);

    // Loads the U3D file into the 3D stream, which is created and registered
    // on first call (-5 for an annotation without table). False when the
    // file cannot be read; the stream then holds no data.
    bool LoadU3DFile(const char* path);
    // The 3D stream, null before the first LoadU3DFile.
    Pdf3DStream* Get3DStream() const;

private:
    // 3DI, added true when missing.
    PdfBoolean* Interactive();
};

// Creates a 3D annotation, attaches it to the page (it takes the next object
// id) and sets its rectangle. A refused rectangle (-5) leaves the annotation
// attached without Rect, and the document then refuses to be written.
// A free function so that the page itself knows nothing of 3D.
Pdf3DAnnot* Add3DAnnot(PdfPage& page, double left, double bottom, double right, double top);
