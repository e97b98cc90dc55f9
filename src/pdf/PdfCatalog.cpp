#include "pdf/PdfCatalog.h"

#include "pdf/PdfException.h"
#include "pdf/PdfName.h"
#include "pdf/PdfScalars.h"

namespace {

const char* const kPageLayouts[] = {"SinglePage", "OneColumn", "TwoColumnLeft", "TwoColumnRight"};
const char* const kPageModes[] = {"UseNone", "UseOutlines", "UseThumbs", "FullScreen"};

struct PreferenceKey {
    int flag;
    const char* key;
};
const PreferenceKey kPreferenceKeys[] = {
    {PdfHideToolbar, "HideToolbar"}, {PdfHideMenubar, "HideMenubar"},
    {PdfHideWindowUI, "HideWindowUI"}, {PdfFitWindow, "FitWindow"},
    {PdfCenterWindow, "CenterWindow"},
};

int CheckedIndex(int index, const char* what) {
    if (index < 0 || index > 3)
        throw PdfException(PdfErrInvalid, "ERROR: PdfCatalog::%s invalid index(%d).", what, index);
    return index;
}

// Index 0 means the viewer's default, which is written as no key at all. A
// present name is changed in place so that every write keeps the key order.
void SyncNameKey(PdfDictionary& dictionary, const char* key, int index, const char* const names[]) {
    if (index == 0) {
        dictionary.RemoveElement(key);
        return;
    }
    PdfObject* present = dictionary.GetElement(key);
    if (present && present->GetType() == PdfObjectType::Name)
        static_cast<PdfName*>(present)->SetValue(names[index]);
    else
        dictionary.AddElement(key, new PdfName(names[index]));
}

}  // namespace

void PdfCatalog::SetPageLayout(int index) { m_pageLayout = CheckedIndex(index, "SetPageLayout"); }

void PdfCatalog::SetPageMode(int index) { m_pageMode = CheckedIndex(index, "SetPageMode"); }

void PdfCatalog::SetNonFullScreenPageMode(int index) {
    m_nonFullScreenPageMode = CheckedIndex(index, "SetNonFullScreenPageMode");
}

void PdfCatalog::SetOpenAction(PdfObject* action) {
    m_hasOpenAction = false;
    if (!action) {
        RemoveElement("OpenAction");
        return;
    }
    AddElement("OpenAction", action);
    m_hasOpenAction = true;
}

void PdfCatalog::WriteToStream(PdfStreamBase& stream) {
    SyncNameKey(*this, "PageLayout", m_pageLayout, kPageLayouts);
    SyncNameKey(*this, "PageMode", m_pageMode, kPageModes);
    SyncNameKey(*this, "NonFullScreenPageMode", m_nonFullScreenPageMode, kPageModes);
    if (!m_hasOpenAction)
        RemoveElement("OpenAction");
    WriteViewerPreferences();
    PdfDictionary::WriteToStream(stream);
}

void PdfCatalog::WriteViewerPreferences() {
    if (m_viewerPreferences == 0) {
        RemoveElement("ViewerPreferences");
        return;
    }
    PdfObject* found = GetElement("ViewerPreferences");
    PdfDictionary* preferences = found && found->GetType() == PdfObjectType::Dictionary
                                     ? static_cast<PdfDictionary*>(found)
                                     : nullptr;
    if (!preferences) {
        preferences = new PdfDictionary(GetXref());
        AddElement("ViewerPreferences", preferences);
    }
    for (const PreferenceKey& entry : kPreferenceKeys) {
        if (m_viewerPreferences & entry.flag) {
            if (!preferences->FindElement(entry.key))
                preferences->AddElement(entry.key, new PdfBoolean(true));
        } else {
            preferences->RemoveElement(entry.key);
        }
    }
}
