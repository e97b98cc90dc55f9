#include "metatree/iniModel.h"

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Case-insensitive for ASCII letters only, whatever the locale: names in
// these files are ASCII, and a locale must not make two names equal.
bool equalsIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (lowerAscii(*a) != lowerAscii(*b))
            return false;
    return *a == *b;
}

// The string value of the field key below node (the field is created when
// missing).
const str& fieldText(metaTreeC* node, const char* key, int* found) {
    metaObjectC item(node);
    return metaObjectC(item.findOrCreateChild(key)).getString(found);
}

void setFieldText(metaTreeC* node, const char* key, const char* text) {
    metaObjectC item(node);
    metaObjectC(item.findOrCreateChild(key)).setString(text);
}

// The last item of key in the container whose field equals name ignoring
// case. Reading a field may create it, which changes the tree and so
// invalidates the positional cache: the items are walked backwards along
// their sibling links from the last one instead of through the cache.
metaTreeC* findLastNamed(metaObjKeyContainerC& list, const char* itemKey, const char* fieldKey, const char* name) {
    if (!name)
        return nullptr;
    const int32_t n = list.itemCount(itemKey);
    for (metaTreeC* item = n > 0 ? list.itemAt(n - 1, itemKey) : nullptr; item; item = item->prev) {
        if (item->isKey(itemKey) && equalsIgnoringCase(fieldText(item, fieldKey, nullptr).text(), name))
            return item;
    }
    return nullptr;
}

}  // namespace

// ---- ENTRY -----------------------------------------------------------------

const str& iniEntryC::getEntryKey(int* found) { return fieldText(node(), "KEY", found); }

void iniEntryC::setEntryKey(const char* text) { setFieldText(node(), "KEY", text); }

const str& iniEntryC::getText(int* found) { return fieldText(node(), "TEXT", found); }

void iniEntryC::setText(const char* text) { setFieldText(node(), "TEXT", text); }

// ---- ENTRIES ---------------------------------------------------------------

iniEntryC iniEntriesC::addEntry() { return iniEntryC(addItem("ENTRY")); }

iniEntryC iniEntriesC::entryAt(int32_t i) { return iniEntryC(itemAt(i, "ENTRY")); }

int32_t iniEntriesC::entryCount() { return itemCount("ENTRY"); }

iniEntryC iniEntriesC::findEntry(const char* name) { return iniEntryC(findLastNamed(*this, "ENTRY", "KEY", name)); }

const str& iniEntriesC::getEntryText(const char* name, int& found) {
    found = 0;
    iniEntryC entry = findEntry(name);
    if (!entry.valid())
        return metaEmptyText();
    found = 1;
    return entry.getText();
}

str iniEntriesC::getEntryText(const char* name, const char* fallback) {
    int found = 0;
    const str& text = getEntryText(name, found);
    return found ? text : str(fallback);
}

// ---- SECTION ---------------------------------------------------------------

const str& iniSectionC::getName(int* found) { return fieldText(node(), "NAME", found); }

void iniSectionC::setName(const char* text) { setFieldText(node(), "NAME", text); }

iniEntriesC iniSectionC::entries() { return iniEntriesC(findOrCreateChild("ENTRIES")); }

// ---- SECTIONS --------------------------------------------------------------

iniSectionC iniSectionsC::addSection() { return iniSectionC(addItem("SECTION")); }

iniSectionC iniSectionsC::sectionAt(int32_t i) { return iniSectionC(itemAt(i, "SECTION")); }

int32_t iniSectionsC::sectionCount() { return itemCount("SECTION"); }

iniSectionC iniSectionsC::findSection(const char* name) {
    return iniSectionC(findLastNamed(*this, "SECTION", "NAME", name));
}

// ---- INIFILE ---------------------------------------------------------------

const str& iniFileC::getFileName(int* found) { return fieldText(node(), "FNAME", found); }

void iniFileC::setFileName(const char* path) { setFieldText(node(), "FNAME", path); }

iniSectionsC iniFileC::sections() { return iniSectionsC(findOrCreateChild("SECTIONS")); }

iniFileC createIniFile(bool own) { return iniFileC(createKeyNode("INIFILE"), own); }
