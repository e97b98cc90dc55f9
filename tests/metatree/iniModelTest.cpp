#include "metatree/iniModel.h"
#include "treeTestUtil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(IniModelTest, AccessorsBuildTheLayout) {
    iniFileC ini = createIniFile(true);
    ASSERT_TRUE(ini.isKey("INIFILE"));
    ini.setFileName("a.ini");
    iniSectionsC sections = ini.sections();
    iniSectionC main = sections.addSection();
    main.setName("Main");
    iniEntryC entry = main.entries().addEntry();
    entry.setEntryKey("k");
    entry.setText("v");
    EXPECT_EQ(chainText(ini.node()), "INIFILE(FNAME('a.ini'),SECTIONS(SECTION(NAME('Main'),ENTRIES(ENTRY(KEY('k'),TEXT('v'))))))");

    // Setters replace a text in place; sections() and entries() find what is there.
    main.setName("Renamed");
    entry.setText("w");
    EXPECT_EQ(ini.sections().sectionCount(), 1);
    EXPECT_STREQ(ini.sections().sectionAt(0).getName().text(), "Renamed");
    EXPECT_STREQ(ini.sections().sectionAt(0).entries().entryAt(0).getText().text(), "w");
    EXPECT_FALSE(ini.sections().sectionAt(1).valid());
    EXPECT_FALSE(main.entries().entryAt(-1).valid());

    int found = -1;
    iniSectionC bare = sections.addSection();
    EXPECT_STREQ(bare.getName(&found).text(), "");
    EXPECT_EQ(found, 0);
    EXPECT_EQ(chainText(bare.node()), "SECTION(NAME)");  // a read leaves the empty key behind

    // Nothing happens on empty handles.
    iniSectionC none;
    none.setName("x");
    EXPECT_STREQ(none.getName().text(), "");
    EXPECT_FALSE(none.entries().addEntry().valid());
}

TEST(IniModelTest, LookupsIgnoreCaseAndTakeTheLastMatch) {
    iniFileC ini = createIniFile(true);
    iniSectionsC sections = ini.sections();
    const char* names[] = {"Main", "other", "MAIN"};
    for (const char* name : names)
        sections.addSection().setName(name);
    sections.addSection();  // without NAME
    EXPECT_EQ(sections.findSection("main").node(), sections.sectionAt(2).node());
    EXPECT_EQ(sections.findSection("OTHER").node(), sections.sectionAt(1).node());
    EXPECT_FALSE(sections.findSection("Mai").valid());
    EXPECT_FALSE(sections.findSection(nullptr).valid());
    // The empty name matches the section whose NAME the lookup created.
    EXPECT_EQ(sections.findSection("").node(), sections.sectionAt(3).node());

    iniEntriesC entries = sections.sectionAt(0).entries();
    for (const char* key : {"Path", "path", "Other"}) {
        iniEntryC e = entries.addEntry();
        e.setEntryKey(key);
        e.setText((std::string("text of ") + key).c_str());
    }
    EXPECT_EQ(entries.findEntry("PATH").node(), entries.entryAt(1).node());
    int found = -1;
    EXPECT_STREQ(entries.getEntryText("PATH", found).text(), "text of path");
    EXPECT_EQ(found, 1);
    EXPECT_STREQ(entries.getEntryText("missing", found).text(), "");
    EXPECT_EQ(found, 0);
    EXPECT_STREQ(entries.getEntryText("other", "fallback").text(), "text of Other");
    EXPECT_STREQ(entries.getEntryText("missing", "fallback").text(), "fallback");

    // Only ASCII letters fold: bytes beyond ASCII must match exactly.
    iniEntryC umlaut = entries.addEntry();
    umlaut.setEntryKey("\xc3\x84");
    EXPECT_FALSE(entries.findEntry("\xc3\xa4").valid());
    EXPECT_EQ(entries.findEntry("\xc3\x84").node(), umlaut.node());
}

}  // namespace
