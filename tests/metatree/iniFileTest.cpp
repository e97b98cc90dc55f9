#include "support/textFile.h"
#include "metatree/iniFile.h"
#include "treeTestUtil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void TearDown() override { std::remove(path.c_str()); }

    void write(const std::string& bytes) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }

    std::string read() {
        std::string bytes;
        if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
            for (int c; (c = std::fgetc(f)) != EOF;)
                bytes += static_cast<char>(c);
            std::fclose(f);
        }
        return bytes;
    }

    std::string path = std::string(::testing::TempDir()) + "ini" + std::to_string(::getpid());
};

TEST_F(IniFileTest, SectionsEntriesCommentsAndWhatIsIgnored) {
    write("orphan=before any section\n"
          "[ Main ]\r\n"
          "key = value\n"
          ";comment=1\n"
          "no equals sign\n"
          "name=a=b\n"
          "Path=first\n"
          "  ][ not a header=x\n"
          "[Other]tail=ignored\n"
          "path=second\n"
          "[Main]\n"
          "Path=third\n"
          "last=no line feed");
    iniFileC ini = readIniFile(path.c_str());
    ASSERT_TRUE(ini.valid());
    EXPECT_TRUE(ini.owns());
    EXPECT_STREQ(ini.getFileName().text(), path.c_str());

    iniSectionsC sections = ini.sections();
    ASSERT_EQ(sections.sectionCount(), 3);
    iniSectionC main = sections.sectionAt(0);
    EXPECT_STREQ(main.getName().text(), "Main");
    iniEntriesC entries = main.entries();
    ASSERT_EQ(entries.entryCount(), 4);
    EXPECT_STREQ(entries.entryAt(0).getEntryKey().text(), "key");
    EXPECT_STREQ(entries.entryAt(0).getText().text(), " value");
    EXPECT_STREQ(entries.entryAt(1).getEntryKey().text(), "name");
    EXPECT_STREQ(entries.entryAt(1).getText().text(), "a=b");
    EXPECT_STREQ(entries.entryAt(3).getEntryKey().text(), "][ not a header");
    EXPECT_STREQ(entries.entryAt(3).getText().text(), "x");

    // The header check comes first; the last matching name wins.
    EXPECT_STREQ(sections.sectionAt(1).getName().text(), "Other");
    EXPECT_EQ(sections.sectionAt(1).entries().entryCount(), 1);
    EXPECT_EQ(sections.findSection("MAIN").node(), sections.sectionAt(2).node());
    EXPECT_STREQ(sections.sectionAt(2).entries().entryAt(1).getText().text(), "no line feed");
    EXPECT_STREQ(main.entries().findEntry("PATH").getText().text(), "first");
    iniEntriesC other = sections.findSection("other").entries();
    EXPECT_STREQ(other.findEntry("PATH").getText().text(), "second");
}

TEST_F(IniFileTest, WritesWhatItReadsInFileOrder) {
    const std::string text = "[Main]\nkey= value\nname=a=b\n[Empty]\n[Main]\nPath=x\n";
    write(text);
    iniFileC ini = readIniFile(path.c_str());
    ASSERT_TRUE(ini.valid());
    std::remove(path.c_str());
    ASSERT_EQ(writeIniFile(ini, path.c_str()), 1);
    EXPECT_EQ(read(), asTextFile(text));  // FNAME is not written

    // A layout built in memory writes the same way; fields that are
    // missing write as empty text and are not created by the write.
    iniFileC made = createIniFile(true);
    iniSectionC s = made.sections().addSection();
    iniEntryC e = s.entries().addEntry();
    e.setEntryKey("k");
    ASSERT_EQ(writeIniFile(made, path.c_str()), 1);
    EXPECT_EQ(read(), asTextFile("[]\nk=\n"));
    EXPECT_EQ(s.node()->firstChild->next, nullptr);  // no NAME added beside ENTRIES

    EXPECT_EQ(writeIniFile(iniFileC(), path.c_str()), 0);
    EXPECT_EQ(writeIniFile(made, "/nonexistent-dir/x.ini"), 0);
    if (access("/dev/full", W_OK) == 0) {
        EXPECT_EQ(writeIniFile(ini, "/dev/full"), 0);
    }
}

TEST_F(IniFileTest, OverlongLinesAreTruncatedAndZeroBytesEndALine) {
    const std::string longText(kIniLineChars - 2, 'v');
    std::string bytes = "[S]\n";
    bytes += "k=" + longText + "\r\n";                      // exactly the limit before CR LF
    bytes += "m=" + longText + "DROPPED[X]=y\n";            // beyond it: cut, not split
    bytes += std::string(20000, ' ') + "[Y]\n";              // a header beyond the limit is no header
    bytes += std::string("z=a\0b", 5) + "\n";
    bytes += "after=ok";
    write(bytes);
    iniFileC ini = readIniFile(path.c_str());
    ASSERT_TRUE(ini.valid());
    iniSectionsC sections = ini.sections();
    ASSERT_EQ(sections.sectionCount(), 1);
    iniEntriesC entries = sections.sectionAt(0).entries();
    ASSERT_EQ(entries.entryCount(), 4);
    EXPECT_EQ(std::string(entries.entryAt(0).getText().text()), longText);
    EXPECT_EQ(std::string(entries.entryAt(1).getText().text()), longText);
    EXPECT_STREQ(entries.entryAt(2).getText().text(), "a");
    EXPECT_STREQ(entries.entryAt(3).getEntryKey().text(), "after");
}

TEST_F(IniFileTest, UnreadableFilesGiveAnEmptyHandle) {
    EXPECT_FALSE(readIniFile(path.c_str()).valid());  // not there
    EXPECT_FALSE(readIniFile(nullptr).valid());
    write("");
    iniFileC ini = readIniFile(path.c_str());
    ASSERT_TRUE(ini.valid());
    EXPECT_EQ(chainText(ini.node()), "INIFILE(FNAME('" + path + "'),SECTIONS)");
}

}  // namespace
