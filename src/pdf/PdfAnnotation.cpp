#include "pdf/PdfAnnotation.h"

#include <iterator>

#include "pdf/PdfArray.h"
#include "pdf/PdfException.h"
#include "pdf/PdfName.h"
#include "pdf/PdfScalars.h"
#include "pdf/PdfStream.h"

namespace {

// Indexed by PdfAnnotationType.
const char* const kSubtypeNames[] = {
    "Text",      "Link",      "Sound",     "FreeText", "Stamp",          "Square", "Circle",
    "StrikeOut", "Highlight", "Underline", "Ink",      "FileAttachment", "Popup",
};

// The subtype name of type; the check keeps a cast integer from reading
// outside the table.
const char* SubtypeName(PdfAnnotationType type) {
    int index = static_cast<int>(type);
    if (index < 0 || index >= static_cast<int>(std::size(kSubtypeNames)))
        throw PdfException(PdfErrInvalid, "ERROR: PdfAnnotation invalid annotation type(%d).", index);
    return kSubtypeNames[index];
}

}  // namespace

PdfAnnotation::PdfAnnotation(PdfXref* xref, PdfAnnotationType type) : PdfDictionary(xref), m_type(type) {
    const char* subtype = SubtypeName(type);
    SetTypeName("Annot");
    AddElement("Subtype", new PdfName(subtype));
}

void PdfAnnotation::SetRect(double left, double bottom, double right, double top) {
    // Written as a positive test so that a NaN fails it.
    if (!(left < right && bottom < top))
        throw PdfException(PdfErrInvalid, "ERROR: Invalid rect values (%f,%f,%f,%f).", left, bottom, right,
                           top);
    auto* rect = new PdfArray(GetXref());
    rect->AddRect(left, bottom, right, top);
    AddElement("Rect", rect);
    m_left = left;
    m_bottom = bottom;
    m_right = right;
    m_top = top;
}

void PdfAnnotation::SetFlags(int flags) { AddElement("F", new PdfNumber(flags)); }

void PdfAnnotation::SetNormalAppearance(PdfStream* form) {
    if (!form || form->GetClass() != PdfObjectClass::Indirect)
        throw PdfException(PdfErrInvalid, "ERROR: PdfAnnotation::SetNormalAppearance needs a registered form.");
    auto* appearance = dynamic_cast<PdfDictionary*>(GetElement("AP"));
    if (!appearance) {
        appearance = new PdfDictionary(GetXref());
        AddElement("AP", appearance);
    }
    appearance->AddElement("N", form);
}

void PdfAnnotation::WriteToStream(PdfStreamBase& stream) {
    if (!GetElement("Rect"))
        throw PdfException(PdfErrInvalid, "ERROR: PdfAnnotation::WriteToStream Rect element must be set.");
    PdfDictionary::WriteToStream(stream);
}
