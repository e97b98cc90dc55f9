// Construction, the two empty forms, comparisons and searches of str.
#include "runtime/str/str.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(StrTest, EmptyFormsBehaveAlikeExceptAgainstNull) {
    str none;
    EXPECT_EQ(none.data(), nullptr);
    EXPECT_STREQ(none.text(), "");
    EXPECT_TRUE(none.equals(""));
    EXPECT_TRUE(none.equals(nullptr));
    EXPECT_TRUE(none.less(""));
    EXPECT_FALSE(none.less(nullptr));
    EXPECT_FALSE(none.greater(nullptr));

    str empty("");
    EXPECT_EQ(empty.size(), 1);
    EXPECT_EQ(empty.length(), 0);
    EXPECT_TRUE(empty.equals(nullptr));
    EXPECT_FALSE(empty.less(""));
    EXPECT_TRUE(empty.greater(nullptr));
    EXPECT_TRUE(empty == none);

    str assigned("abc");
    assigned = static_cast<const char*>(nullptr);
    EXPECT_EQ(assigned.data(), nullptr);
}

TEST(StrTest, ComparesUnsignedBytes) {
    str a("abc");
    EXPECT_FALSE(a.equals(nullptr));
    EXPECT_TRUE(a.less("abd"));
    EXPECT_TRUE(a.less("abcd"));
    EXPECT_FALSE(a.less("abc"));
    EXPECT_TRUE(a.greater("ab"));
    EXPECT_TRUE(a.less("\xE4"));  // bytes above 0x7F sort after ASCII
}

TEST(StrTest, CopiesAndNumbers) {
    str a("text");
    str b(a);
    EXPECT_NE(a.data(), b.data());
    b = b.text() + 2;  // a text inside the string's own buffer
    EXPECT_STREQ(b.text(), "xt");
    EXPECT_EQ(b.size(), 3);
    EXPECT_STREQ(str("abcdef", 1, 4).text(), "bcd");

    EXPECT_STREQ(str(INT_MIN).text(), "-2147483648");
    EXPECT_STREQ(str(4294967295u).text(), "4294967295");
    // "%ld" of the platform's long: 64 bits on LP64 POSIX, 32 on Windows.
    EXPECT_STREQ(str(LONG_MIN).text(), sizeof(long) == 8 ? "-9223372036854775808" : "-2147483648");
    EXPECT_STREQ(str(0.1, 14).text(), "0.1");
    EXPECT_STREQ(str(1.0 / 3.0, 14).text(), "0.33333333333333");
    // The longest text the number buffer is made for: 67 characters.
    EXPECT_EQ(str(-1e-300 / 3.0, 60).length(), 67);
}

TEST(StrTest, Searches) {
    str s("abcabcXY");
    EXPECT_EQ(s.find("bc"), 1);
    EXPECT_EQ(s.findLast("bc"), 4);
    EXPECT_EQ(s.findLast("zz"), -1);
    EXPECT_EQ(s.findLast(""), 8);
    EXPECT_EQ(str("aaaa").findLast("aa"), 2);
    EXPECT_EQ(s.findLastChar('c'), 5);
    EXPECT_EQ(s.findCharNoCase('x'), 6);
    EXPECT_EQ(s.findCharNoCase('1'), -1);
    EXPECT_EQ(s.findNoCase("CxY"), 5);
    EXPECT_EQ(s.findNoCase("xyz"), -1);
    EXPECT_EQ(str().find(""), -1);
    EXPECT_EQ(str().findNoCase("a"), -1);
}

}  // namespace
