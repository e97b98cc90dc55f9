#include "pdf/3d/Pdf3DAnnot.h"

#include "pdf/3d/Pdf3DStream.h"
#include "pdf/3d/Pdf3dAnnotActivation.h"
#include "pdf/3d/Pdf3dEntries.h"
#include "pdf/3d/Pdf3dView.h"
#include "pdf/PdfArray.h"
#include "pdf/PdfDoc.h"
#include "pdf/PdfException.h"
#include "pdf/PdfPage.h"
#include "pdf/PdfScalars.h"
#include "pdf/PdfXref.h"

namespace {

// The appearance: a form with the identity matrix, which viewers that
// cannot show 3D content fall back to.
PdfDictionary* NewAppearance(PdfXref* xref) {
    auto* appearance = new PdfDictionary(xref);
    auto* normal = new PdfDictionary(xref);
    appearance->AddElement("N", normal);
    normal->AddElement("Subtype", new PdfName("Form"));
    auto* matrix = new PdfArray(xref);
    normal->AddElement("Matrix", matrix);
    for (double value : {1, 0, 0, 1, 0, 0})
        matrix->Add(new PdfReal(value));
    return appearance;
}

}  // namespace

Pdf3DAnnot::Pdf3DAnnot(PdfXref* xref) : PdfAnnotation(xref, PdfAnnotText) {
    // Changed in place, so Subtype stays right after Type.
    static_cast<PdfName*>(GetElement("Subtype"))->SetValue("3D");
    AddElement("AP", NewAppearance(xref));
    if (PdfDoc* doc = xref ? xref->GetDoc() : nullptr)
        doc->RequirePdf16();
}

Pdf3dAnnotActivation* Pdf3DAnnot::GetActivation() {
    return Pdf3dEntry<Pdf3dAnnotActivation>(*this, "3DA", [&] { return new Pdf3dAnnotActivation(GetXref()); });
}

Pdf3dView* Pdf3DAnnot::GetView() {
    return Pdf3dEntry<Pdf3dView>(*this, "3DV", [&] { return new Pdf3dView(GetXref()); });
}

PdfBoolean* Pdf3DAnnot::Interactive() {
    return Pdf3dEntry<PdfBoolean>(*this, "3DI", [] { return new PdfBoolean(true); });
}

bool Pdf3DAnnot::GetInteractive() { return Interactive()->GetValue(); }

void Pdf3DAnnot::SetInteractive(bool interactive) { Interactive()->SetValue(interactive); }

Pdf3DStream* Pdf3DAnnot::Get3DStream() const { return dynamic_cast<Pdf3DStream*>(GetElement("3DD")); }

bool Pdf3DAnnot::LoadU3DFile(const char* path) {
    Pdf3DStream* stream = Get3DStream();
    if (!stream) {
        if (!GetXref())
            throw PdfException(PdfErrInvalid, "ERROR: Pdf3DAnnot::LoadU3DFile needs a cross-reference table.");
        stream = new Pdf3DStream(GetXref());
        // The table owns the stream from here on, also when this fails.
        GetXref()->AddObject(stream);
        AddElement("3DD", stream);
    }
    return stream->LoadFromFile(path);
}

Pdf3DAnnot* Add3DAnnot(PdfPage& page, double left, double bottom, double right, double top) {
    auto* annotation = new Pdf3DAnnot(page.GetXref());
    page.AddAnnotation(annotation);
    annotation->SetRect(left, bottom, right, top);
    return annotation;
}
