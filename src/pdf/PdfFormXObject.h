// Form XObjects (ISO 32000-1, 8.10, Table 95): a self-contained piece of
// page content, which is also what an annotation's appearance streams are
// (12.5.5).
#pragma once

#include "pdf/PdfFlateStream.h"

class PdfImageXObject;

// A form whose content paints one image over its whole bounding box.
class PdfFormXObject : public PdfFlateStream {
public:
    // Type "XObject", Subtype "Form", BBox [left bottom right top], Matrix
    // the identity and Length 0.
    PdfFormXObject(PdfXref* xref, double left, double bottom, double right, double top);
    ~PdfFormXObject() override = default;

    // Names the image in the form's resources (/XObject << /name ... >>) and
    // makes the content paint it over the bounding box. Both this form and
    // the image must be registered with the table already (-5 otherwise):
    // the resources refer to the image.
    void PaintImage(const char* name, PdfImageXObject* image);

private:
    double m_left, m_bottom, m_right, m_top;
};
