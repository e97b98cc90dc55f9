// The tree layout of a sections-and-entries (INI) file, and its accessors.
//
//   INIFILE
//     FNAME     the file path (string)
//     SECTIONS  container of SECTION items, in file order
//       SECTION
//         NAME      the section name (string)
//         ENTRIES   container of ENTRY items, in file order
//           ENTRY
//             KEY   the entry's name (string)
//             TEXT  the entry's value (string)
//
// Duplicate sections and entries stay separate items; lookups by name ignore
// ASCII letter case and find the last match, so a later line overrides an
// earlier one. A request's custom data uses the same ENTRIES layout.
//
// Every accessor reaches its fixed key with findOrCreateChild, so reading a
// missing NAME, KEY or TEXT leaves an empty key behind (as all meta tree
// accessors do); values themselves are only created by the setters.
#pragma once

#include "metatree/metaObjKeyContainer.h"
#include "metatree/metaObject.h"
#include "runtime/str/str.h"

#include <cstdint>

// An ENTRY.
class iniEntryC : public metaObjectC {
public:
    iniEntryC() = default;
    explicit iniEntryC(metaTreeC* node, bool own = false) : metaObjectC(node, own) {}

    const str& getEntryKey(int* found = nullptr);
    void setEntryKey(const char* text);
    const str& getText(int* found = nullptr);
    void setText(const char* text);
};

// An ENTRIES container.
class iniEntriesC : public metaObjKeyContainerC {
public:
    iniEntriesC() = default;
    explicit iniEntriesC(metaTreeC* node, bool own = false) : metaObjKeyContainerC(node, own) {}

    iniEntryC addEntry();
    // Empty past the last entry.
    iniEntryC entryAt(int32_t i);
    int32_t entryCount();
    // The last entry whose KEY equals name ignoring case; empty when none.
    iniEntryC findEntry(const char* name);
    // The found entry's TEXT with found = 1, or the empty text with found = 0.
    const str& getEntryText(const char* name, int& found);
    // The found entry's TEXT, or the fallback.
    str getEntryText(const char* name, const char* fallback);
};

// A SECTION.
class iniSectionC : public metaObjectC {
public:
    iniSectionC() = default;
    explicit iniSectionC(metaTreeC* node, bool own = false) : metaObjectC(node, own) {}

    const str& getName(int* found = nullptr);
    void setName(const char* text);
    // Created when missing.
    iniEntriesC entries();
};

// The SECTIONS container.
class iniSectionsC : public metaObjKeyContainerC {
public:
    iniSectionsC() = default;
    explicit iniSectionsC(metaTreeC* node, bool own = false) : metaObjKeyContainerC(node, own) {}

    iniSectionC addSection();
    iniSectionC sectionAt(int32_t i);
    int32_t sectionCount();
    // The last section whose NAME equals name ignoring case; empty when none.
    iniSectionC findSection(const char* name);
};

// The INIFILE root.
class iniFileC : public metaObjectC {
public:
    iniFileC() = default;
    explicit iniFileC(metaTreeC* node, bool own = false) : metaObjectC(node, own) {}

    const str& getFileName(int* found = nullptr);
    void setFileName(const char* path);
    // Created when missing.
    iniSectionsC sections();
};

// A new INIFILE root without children.
iniFileC createIniFile(bool own);
