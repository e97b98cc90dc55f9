#include "pdf/PdfPage.h"

#include "pdf/PdfArray.h"
#include "pdf/PdfException.h"
#include "pdf/PdfName.h"
#include "pdf/PdfPages.h"
#include "pdf/PdfScalars.h"

namespace {

struct ProcSetName {
    int flag;
    const char* name;
};
const ProcSetName kProcSetNames[] = {
    {PdfProcSetPDF, "PDF"}, {PdfProcSetText, "Text"}, {PdfProcSetImageB, "ImageB"},
    {PdfProcSetImageC, "ImageC"}, {PdfProcSetImageI, "ImageI"},
};

}  // namespace

void PdfPage::InitPage(PdfPages* parent) {
    SetTypeName("Page");
    // Re-added after AddKid set it, which moves Parent behind Type.
    AddElement("Parent", parent);
    // Looked up before the parent link exists, so every page gets a
    // Resources dictionary of its own.
    GetResources();
    SetParent(parent);
    if (!GetInheritableElement("MediaBox"))
        SetMediaBox(0, 0, kDefaultWidth, kDefaultHeight);
}

PdfDictionary* PdfPage::GetResources() {
    PdfObject* found = GetInheritableElement("Resources");
    if (found && found->GetType() == PdfObjectType::Dictionary)
        return static_cast<PdfDictionary*>(found);
    auto* resources = new PdfDictionary(GetXref());
    SetResources(resources);
    return resources;
}

void PdfPage::SetResources(PdfObject* resources) {
    if (!resources) {
        RemoveElement("Resources");
        return;
    }
    if (resources->GetType() != PdfObjectType::Dictionary)
        throw PdfException(PdfErrInvalid, "ERROR: PdfPage::SetResources invarid resources");
    AddElement("Resources", resources);
}

void PdfPage::SetBox(const char* key, int left, int bottom, int right, int top) {
    auto* box = new PdfArray(GetXref());
    AddElement(key, box);
    for (int value : {left, bottom, right, top})
        box->Add(new PdfNumber(value));
}

void PdfPage::SetMediaBox(int left, int bottom, int right, int top) {
    SetBox("MediaBox", left, bottom, right, top);
}

void PdfPage::SetSize(int width, int height) {
    if (width < 1 || height < 1)
        throw PdfException(PdfErrInvalid, "ERROR: invalid page size(%d,%d).", width, height);
    SetMediaBox(0, 0, width, height);
}

void PdfPage::AddProcSet(int flags) {
    PdfDictionary* resources = GetResources();
    PdfObject* found = resources->GetElement("ProcSet");
    PdfArray* procSet = found && found->GetType() == PdfObjectType::Array ? static_cast<PdfArray*>(found)
                                                                           : nullptr;
    if (!procSet) {
        procSet = new PdfArray(GetXref());
        resources->AddElement("ProcSet", procSet);
    }
    for (const ProcSetName& entry : kProcSetNames)
        if (flags & entry.flag)
            procSet->Add(new PdfName(entry.name));
    m_procSetFlags |= flags;
}
