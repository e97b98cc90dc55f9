#include "metatree/metaTreeTextReader.h"
#include "metatree/metaTreeTextSave.h"
#include "treeTestUtil.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// A load that must fail: its error text, with the handle checked empty.
std::string loadError(const std::string& text) {
    metaTreeTextReaderC reader;
    metaObjectC tree = reader.loadTreeFromString(text.c_str(), true);
    EXPECT_FALSE(tree.valid()) << text;
    EXPECT_TRUE(reader.failed()) << text;
    return reader.errorText().text();
}

std::string tempPath(const char* name) {
    return std::string(::testing::TempDir()) + name + std::to_string(::getpid());
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

TEST(MetaTreeTextReaderTest, ReadsKeysNumbersStringsAndBraceGroups) {
    metaTreeTextReaderC reader;
    metaObjectC tree = reader.loadTreeFromString("A{B{1}}C{2,3}", true);
    ASSERT_TRUE(tree.valid());
    EXPECT_FALSE(reader.failed());
    EXPECT_TRUE(tree.isKey("A"));
    EXPECT_EQ(chainText(tree.node()), "A(B(1)),C(2,3)");
    EXPECT_TRUE(linksConsistent(tree.node()));

    tree = reader.loadTreeFromString(" K{\"s p\",-2.5e3 , .5\t+7}\r\nx@y_z-1.q", true);
    ASSERT_TRUE(tree.valid());
    EXPECT_EQ(chainText(tree.node()), "K('s p',-2500,0.5,7),x@y_z-1.q");
    EXPECT_EQ(tree.node()->firstChild->value.kind(), MV_STRING);
    EXPECT_EQ(tree.node()->firstChild->next->value.kind(), MV_DOUBLE);

    // Hex and exponent forms are what the standard conversion makes of them.
    tree = reader.loadTreeFromString("N{0x10,1e-400,-0}", true);
    ASSERT_TRUE(tree.valid());
    EXPECT_EQ(chainText(tree.node()), "N(16,0,-0)");

    // A second brace group after the same key goes in front of the first.
    tree = reader.loadTreeFromString("A{B}{C,D}", true);
    EXPECT_EQ(chainText(tree.node()), "A(C,D,B)");

    // Nothing to read is no failure, but there is no tree either.
    tree = reader.loadTreeFromString(" ,\n\t", true);
    EXPECT_FALSE(tree.valid());
    EXPECT_FALSE(reader.failed());
    tree = reader.loadTreeFromString(nullptr, true);
    EXPECT_FALSE(tree.valid());
}

TEST(MetaTreeTextReaderTest, EscapesResolveAndLineFeedsInStringsDoNotCount) {
    metaTreeTextReaderC reader;
    metaObjectC tree = reader.loadTreeFromString("S{\"a\\nb\\tc\\rd\\\"e\\\\f\\xg\"}", true);
    ASSERT_TRUE(tree.valid());
    EXPECT_STREQ(tree.getString().text(), "a\nb\tc\rd\"e\\fxg");

    tree = reader.loadTreeFromString("S{\"a\\\\\"}T", true);  // an escaped backslash, then the end quote
    ASSERT_TRUE(tree.valid());
    EXPECT_STREQ(tree.getString().text(), "a\\");
    EXPECT_EQ(chainText(tree.node()), "S('a\\'),T");

    // Line feeds count outside strings only.
    tree = reader.loadTreeFromString("A\n{\n\"x\ny\"\r\n}\n\nB", true);
    ASSERT_TRUE(tree.valid());
    EXPECT_EQ(tree.node()->value.srcPos().line, 1);
    EXPECT_EQ(tree.node()->value.srcPos().aux, 0);
    EXPECT_EQ(tree.node()->firstChild->value.srcPos().line, 3);
    EXPECT_EQ(tree.node()->next->value.srcPos().line, 6);
}

TEST(MetaTreeTextReaderTest, EveryErrorHasItsTextAndLine) {
    EXPECT_EQ(loadError("A\n{\n#}"), "Line:3 - ill seperator char");
    EXPECT_EQ(loadError("A{\n\"abc\\\""), "Line:2 - unexpected eof file");
    EXPECT_EQ(loadError("A{-x}"), "Line:1 - value invalid :-x");
    EXPECT_EQ(loadError("\n1.5.2"), "Line:2 - value invalid :1.5.2");
    EXPECT_EQ(loadError("{A}"), "Line:1 - section without key found");
    EXPECT_EQ(loadError("A{B{}}\nC{\n{D}}"), "Line:3 - section without key found");
    EXPECT_EQ(loadError("A{B\n\n"), "Line:3 - section count wrong");
    EXPECT_EQ(loadError("A\n}"), "Line:2 - section count wrong");
    EXPECT_EQ(loadError("A{B}}C"), "Line:1 - section count wrong");
    // A number must be a finite double: an infinity or NaN would be written
    // back as something else, and a number beyond the range is no value.
    EXPECT_EQ(loadError("N{1e999}"), "Line:1 - value invalid :1e999");
    EXPECT_EQ(loadError("N{-1e400}"), "Line:1 - value invalid :-1e400");
    EXPECT_EQ(loadError("N{+inf}"), "Line:1 - value invalid :+inf");
    EXPECT_EQ(loadError("N{-nan}"), "Line:1 - value invalid :-nan");
    EXPECT_EQ(loadError("N{+}"), "Line:1 - value invalid :+");
    // Bytes outside ASCII are no word characters.
    EXPECT_EQ(loadError("A\xc3\xa4"), "Line:1 - ill seperator char");

    // The error of one load does not stay for the next.
    metaTreeTextReaderC reader;
    EXPECT_FALSE(reader.loadTreeFromString("{", true).valid());
    EXPECT_TRUE(reader.loadTreeFromString("A", true).valid());
    EXPECT_FALSE(reader.failed());
    EXPECT_EQ(std::string(reader.errorText().text()), "Line:1 - ");
}

TEST(MetaTreeTextReaderTest, ZeroBytesAndHugeTokensFailCleanly) {
    const std::string path = tempPath("zero.txt");
    metaTreeTextReaderC reader;
    writeFile(path, std::string("A{B}\n\0C", 7));
    EXPECT_FALSE(reader.loadTreeFromFile(path.c_str(), true).valid());
    EXPECT_EQ(std::string(reader.errorText().text()), "Line:2 - ill seperator char");

    // Inside a string a zero byte ends the stored text: texts are
    // zero-terminated.
    writeFile(path, std::string("S{\"ab\0cd\"}T", 11));
    metaObjectC tree = reader.loadTreeFromFile(path.c_str(), true);
    ASSERT_TRUE(tree.valid());
    EXPECT_EQ(chainText(tree.node()), "S('ab'),T");
    std::remove(path.c_str());

    metaTreeTextReaderC limited(8);
    EXPECT_TRUE(limited.loadTreeFromString("ABCDEFGH{\"12345678\"}", true).valid());
    EXPECT_FALSE(limited.loadTreeFromString("ABCDEFGHI", true).valid());
    EXPECT_EQ(std::string(limited.errorText().text()), "Line:1 - token too long");
    EXPECT_FALSE(limited.loadTreeFromString("A{\n\"123456789\"}", true).valid());
    EXPECT_EQ(std::string(limited.errorText().text()), "Line:2 - token too long");
}

TEST(MetaTreeTextReaderTest, NestingOfAMillionLevelsNeedsNoRecursion) {
    constexpr int kDepth = 1000000;
    std::string text;
    text.reserve(kDepth * 3 + 1);
    for (int i = 0; i < kDepth; ++i)
        text += "K{";
    text += "1";
    text.append(kDepth, '}');

    metaTreeTextReaderC reader;
    metaObjectC tree = reader.loadTreeFromString(text.c_str(), true);
    ASSERT_TRUE(tree.valid()) << reader.errorText().text();
    EXPECT_EQ(std::string(saveTreeAsString(tree, false, false).text()), text);
    tree.release();

    // Unbalanced at the bottom of the same depth: everything built so far
    // goes away.
    text.pop_back();
    EXPECT_FALSE(reader.loadTreeFromString(text.c_str(), true).valid());
    EXPECT_EQ(std::string(reader.errorText().text()), "Line:1 - section count wrong");
    text.resize(kDepth * 2);
    text += "{";
    EXPECT_FALSE(reader.loadTreeFromString(text.c_str(), true).valid());
    EXPECT_EQ(std::string(reader.message().text()), "section without key found");
}

TEST(MetaTreeTextReaderTest, FilesAndStreams) {
    const std::string path = tempPath("tree.txt");
    writeFile(path, "A{1}\r\nB{\"x\"}");
    metaTreeTextReaderC reader;
    metaObjectC tree = reader.loadTreeFromFile(path.c_str(), true);
    ASSERT_TRUE(tree.valid());
    EXPECT_EQ(chainText(tree.node()), "A(1),B('x')");
    EXPECT_EQ(tree.node()->next->value.srcPos().line, 2);

    // A stream is read from where it stands and left open.
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 6, SEEK_SET);
    tree = reader.loadTreeFromStream(f, true);
    ASSERT_TRUE(tree.valid());
    EXPECT_EQ(chainText(tree.node()), "B('x')");
    EXPECT_EQ(std::fseek(f, 0, SEEK_SET), 0);  // still open
    std::fclose(f);

    // Without own the caller owns the chain.
    metaTreeC* chain = reader.loadTreeFromFile(path.c_str(), false).node();
    ASSERT_NE(chain, nullptr);
    EXPECT_EQ(chainText(chain), "A(1),B('x')");
    delete chain;
    std::remove(path.c_str());

    EXPECT_FALSE(reader.loadTreeFromFile(path.c_str(), true).valid());
    EXPECT_TRUE(reader.failed());
    EXPECT_FALSE(reader.loadTreeFromFile(nullptr, true).valid());
    EXPECT_FALSE(reader.loadTreeFromStream(nullptr, true).valid());

    // A stream that fails to read stops before its end: "eof fail". A
    // stream opened for writing refuses every read.
    std::FILE* writeOnly = std::fopen(path.c_str(), "wb");
    ASSERT_NE(writeOnly, nullptr);
    EXPECT_FALSE(reader.loadTreeFromStream(writeOnly, true).valid());
    EXPECT_EQ(std::string(reader.errorText().text()), "Line:1 - eof fail");
    std::fclose(writeOnly);
    std::remove(path.c_str());

    // So does a directory on POSIX, which opens but cannot be read; Windows
    // does not open a directory as a file at all.
    const std::string dir = ::testing::TempDir();
    EXPECT_FALSE(reader.loadTreeFromFile(dir.c_str(), true).valid());
#ifndef _WIN32
    EXPECT_EQ(std::string(reader.errorText().text()), "Line:1 - eof fail");
#endif
}

// Loads and saves hold LC_NUMERIC at "C" and give the caller's locale back.
// A locale with a decimal comma shows the first; where none is installed the
// check of the restored locale still runs.
TEST(MetaTreeTextReaderTest, NumbersUseAFullStopInAnyLocale) {
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    // POSIX names first, then the Windows name of a decimal comma locale.
    const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "C.UTF-8", "C.utf8",
                                "German_Germany.1252"};
    const char* chosen = nullptr;
    for (const char* name : candidates)
        if ((chosen = std::setlocale(LC_NUMERIC, name)))
            break;
    if (!chosen)
        GTEST_SKIP() << "no locale besides C";
    const std::string active = chosen;

    metaTreeTextReaderC reader;
    metaObjectC tree = reader.loadTreeFromString("V{0.25}", true);
    EXPECT_EQ(tree.getDouble(), 0.25);
    EXPECT_EQ(std::string(std::setlocale(LC_NUMERIC, nullptr)), active);
    tree.setDouble(-1.5);
    EXPECT_STREQ(saveTreeAsString(tree, true, false).text(), "V{-1.5}");
    EXPECT_EQ(std::string(std::setlocale(LC_NUMERIC, nullptr)), active);
    std::setlocale(LC_NUMERIC, before.c_str());
}

}  // namespace
