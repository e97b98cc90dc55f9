// Pieces and in-place changes of str.
#include "runtime/str/str.h"

#include <gtest/gtest.h>

namespace {

TEST(StrEditTest, PiecesAndAppends) {
    str s("abcdef");
    EXPECT_STREQ(s.substring(4, 100).text(), "ef");
    EXPECT_EQ(s.substring(6, 1).data(), nullptr);
    EXPECT_STREQ(s.right(2).text(), "ef");
    EXPECT_STREQ((str() + "x").text(), "x");

    str grown;
    grown.appendChar('a');
    EXPECT_EQ(grown.size(), 2);
    grown.append(nullptr);
    grown.appendBytes("b\0c", 3);
    EXPECT_EQ(grown.size(), 5);
    EXPECT_EQ(grown.data()[2], '\0');
    grown = "ab";
    grown.append(grown.text());  // reads the old buffer before it goes
    EXPECT_STREQ(grown.text(), "abab");
}

TEST(StrEditTest, EraseInsertTrim) {
    str s("abcdef");
    s.erase(10, 1);
    s.erase(1, 0);
    EXPECT_STREQ(s.text(), "abcdef");
    s.erase(2, 100);
    EXPECT_STREQ(s.text(), "ab");
    EXPECT_EQ(s.size(), 3);

    str u("ad");
    u.insert(1, "bc");
    u.insert(100, "<");
    EXPECT_STREQ(u.text(), "abcd<");
    u.insert(1, u.text());
    EXPECT_STREQ(u.text(), "aabcd<bcd<");

    str t("  a b  ");
    t.trim(' ');
    EXPECT_STREQ(t.text(), "a b");
    EXPECT_EQ(t.size(), 4);
    str only("xxx");
    only.trim('x');
    EXPECT_TRUE(only.equals(""));
}

TEST(StrEditTest, CaseAndRawBuffer) {
    str s("MiXed 1");
    s.toUpper();
    EXPECT_STREQ(s.text(), "MIXED 1");
    s.toLower();
    EXPECT_STREQ(s.text(), "mixed 1");

    EXPECT_EQ(s.setRaw(0), nullptr);
    EXPECT_STREQ(s.text(), "mixed 1");
    char* p = s.setRaw(4);
    EXPECT_STREQ(s.text(), "mix");  // still terminated within the buffer
    p[0] = 'n';
    EXPECT_STREQ(s.text(), "nix");
}

}  // namespace
