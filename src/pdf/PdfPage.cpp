#include "pdf/PdfPage.h"

#include "pdf/PdfAnnotation.h"
#include "pdf/PdfArray.h"
#include "pdf/PdfContents.h"
#include "pdf/PdfException.h"
#include "pdf/PdfName.h"
#include "pdf/PdfPages.h"
#include "pdf/PdfScalars.h"
#include "pdf/PdfXref.h"

namespace {

struct ProcSetName {
    int flag;
    const char* name;
};
const ProcSetName kProcSetNames[] = {
    {PdfProcSetPDF, "PDF"}, {PdfProcSetText, "Text"}, {PdfProcSetImageB, "ImageB"},
    {PdfProcSetImageC, "ImageC"}, {PdfProcSetImageI, "ImageI"},
};

// The array under key, added empty when the dictionary has none.
PdfArray& ArrayEntry(PdfDictionary& dictionary, const char* key) {
    PdfObject* found = dictionary.GetElement(key);
    if (found && found->GetType() == PdfObjectType::Array)
        return *static_cast<PdfArray*>(found);
    auto* array = new PdfArray(dictionary.GetXref());
    dictionary.AddElement(key, array);
    return *array;
}

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
    PdfArray& procSet = ArrayEntry(*GetResources(), "ProcSet");
    for (const ProcSetName& entry : kProcSetNames)
        if (flags & entry.flag)
            procSet.Add(new PdfName(entry.name));
    m_procSetFlags |= flags;
}

PdfContents* PdfPage::GetContents() {
    if (!m_contents) {
        // Init registers the stream first, so the table owns it even when a
        // later step of Init fails.
        auto* contents = new PdfContents(*this);
        contents->Init();
        m_contents = contents;
    }
    if (!(m_procSetFlags & PdfProcSetPDF))
        AddProcSet(PdfProcSetPDF);
    return m_contents;
}

void PdfPage::AddAnnotation(PdfAnnotation* annotation) {
    if (!annotation)
        return;
    if (annotation->GetClass() != PdfObjectClass::Indirect)
        Xref().AddObject(annotation);
    ArrayEntry(*this, "Annots").Add(annotation);
}
