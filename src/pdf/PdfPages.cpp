#include "pdf/PdfPages.h"

#include "pdf/PdfArray.h"
#include "pdf/PdfDoc.h"
#include "pdf/PdfException.h"
#include "pdf/PdfPage.h"
#include "pdf/PdfScalars.h"
#include "pdf/PdfXref.h"

namespace {

[[noreturn]] void CannotAddPage() {
    throw PdfException(PdfErrInvalid, "ERROR: Invalid operation cannot add Page.");
}

}  // namespace

void PdfPages::Init() {
    // Registered first: the table then owns the node whatever fails next.
    PdfPageBase::Init();
    SetTypeName("Pages");
    AddElement("Kids", new PdfArray(GetXref()));
}

int PdfPages::GetPageCount() {
    PdfArray* kids = GetKids();
    int count = 0;
    for (int i = 0; kids && i < kids->GetCount(); ++i)
        if (auto* kid = dynamic_cast<PdfPageBase*>(kids->GetItem(i)))
            count += kid->GetPageCount();
    return count;
}

void PdfPages::WriteToStream(PdfStreamBase& stream) {
    AddElement("Count", new PdfNumber(GetPageCount()));
    PdfPageBase::WriteToStream(stream);
}

PdfArray* PdfPages::GetKids() const {
    PdfObject* kids = GetElement("Kids");
    return kids && kids->GetType() == PdfObjectType::Array ? static_cast<PdfArray*>(kids) : nullptr;
}

PdfArray& PdfPages::KidsFor(const PdfPageBase* kid) const {
    PdfArray* kids = GetKids();
    if (!kids || !kid || GetClass() != PdfObjectClass::Indirect ||
        kid->GetClass() != PdfObjectClass::Indirect)
        CannotAddPage();
    return *kids;
}

void PdfPages::AddKid(PdfPageBase* kid) {
    KidsFor(kid).Add(kid);
    kid->AddElement("Parent", this);
}

void PdfPages::InsertKid(PdfPageBase* kid, int index) {
    KidsFor(kid).Insert(kid, index);
    kid->AddElement("Parent", this);
}

PdfPage* PdfPages::AddPage(int index) {
    PdfArray* kids = GetKids();
    if (!kids || index < -1 || index > kids->GetCount())
        CannotAddPage();
    auto* page = new PdfPage(Xref());
    page->Init();
    if (index < 0)
        AddKid(page);
    else
        InsertKid(page, index);
    page->InitPage(this);
    if (PdfDoc* doc = Xref().GetDoc())
        doc->SetCurrentPage(this, page);
    return page;
}
