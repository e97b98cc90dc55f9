#include "pdf/PdfFormXObject.h"

#include "pdf/PdfArray.h"
#include "pdf/PdfException.h"
#include "pdf/PdfImageXObject.h"
#include "pdf/PdfName.h"
#include "pdf/PdfScalars.h"

PdfFormXObject::PdfFormXObject(PdfXref* xref, double left, double bottom, double right, double top)
    : PdfFlateStream(xref), m_left(left), m_bottom(bottom), m_right(right), m_top(top) {
    SetTypeName("XObject");
    AddElement("Subtype", new PdfName("Form"));
    auto* box = new PdfArray(xref);
    AddElement("BBox", box);
    box->AddRect(left, bottom, right, top);
    auto* matrix = new PdfArray(xref);
    AddElement("Matrix", matrix);
    for (double value : {1, 0, 0, 1, 0, 0})
        matrix->Add(new PdfReal(value));
    AddElement("Length", new PdfNumber(0));
}

void PdfFormXObject::PaintImage(const char* name, PdfImageXObject* image) {
    if (GetClass() != PdfObjectClass::Indirect || !image || image->GetClass() != PdfObjectClass::Indirect)
        throw PdfException(PdfErrInvalid, "ERROR: PdfFormXObject::PaintImage needs registered objects.");
    auto* images = new PdfDictionary(GetXref());
    images->AddElement(name, image);
    auto* resources = new PdfDictionary(GetXref());
    resources->AddElement("XObject", images);
    AddElement("Resources", resources);

    // An image fills the unit square of its space (8.9.4): scale it to the
    // box and move it to the box's corner.
    PdfMemStream content;
    content << "q " << (m_right - m_left) << " 0 0 " << (m_top - m_bottom) << " " << m_left << " " << m_bottom
            << " cm /" << name << " Do Q\n";
    content.WriteToStreamDeflate(BeginData());
    EndData();
}
