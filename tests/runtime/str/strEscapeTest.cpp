// Escaping, quoting and the stream-style append helpers.
#include "runtime/str/strAppend.h"
#include "runtime/str/strEscape.h"

#include <gtest/gtest.h>

namespace {

TEST(StrEscapeTest, EscapeUnescapeQuote) {
    EXPECT_STREQ(escape("a\tb\"c\\d\r\n").text(), "a\\tb\\\"c\\\\d\\r\\n");
    EXPECT_STREQ(unescape("a\\tb\\\"c\\\\d\\r\\n").text(), "a\tb\"c\\d\r\n");
    EXPECT_STREQ(unescape("a\\q").text(), "aq");
    EXPECT_EQ(unescape("a\\q").size(), 3);
    EXPECT_STREQ(unescape("end\\").text(), "end");
    EXPECT_STREQ(quote("say \"hi\"").text(), "\"say \\\"hi\\\"\"");
    EXPECT_STREQ(quote(nullptr).text(), "\"\"");
}

TEST(StrEscapeTest, AppendHelpersChain) {
    str line("frame ");
    line << uint32_t{4294967295u} << " " << uint16_t{65535} << " " << int32_t{-7} << " " << str("x")
         << static_cast<const char*>(nullptr);
    EXPECT_STREQ(line.text(), "frame 4294967295 65535 -7 x");
}

}  // namespace
