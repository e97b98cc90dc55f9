#include "support/textFile.h"
#include "metatree/metaObject.h"
#include "metatree/metaTreeTextBuffer.h"
#include "metatree/metaTreeTextSave.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// A{B{1}}C{2,3} built in memory; the owner holds A and its sibling C.
metaObjectC exampleTree() {
    metaTreeC* a = createKeyNode("A");
    a->addKey("B")->addInteger(1);
    metaTreeC* c = createKeyNode("C");
    c->addInteger(2);
    c->addInteger(3);
    c->linkAfter(a);
    return metaObjectC(a, true);
}

std::string compact(const metaObjectC& tree, bool firstOnly = false) {
    return saveTreeAsString(tree, firstOnly, false).text();
}

std::string pretty(const metaObjectC& tree, bool firstOnly = false) {
    return saveTreeAsString(tree, firstOnly, true).text();
}

std::string number(double x) {
    metaTreeTextBufferC buffer(false);
    buffer.appendNumber(x);
    return std::string(buffer.data(), buffer.length());
}

TEST(MetaTreeTextWriterTest, CompactAndPrettyLayouts) {
    metaObjectC tree = exampleTree();
    EXPECT_EQ(compact(tree), "A{B{1}}C{2,3}");
    EXPECT_EQ(compact(tree, true), "A{B{1}}");
    EXPECT_EQ(pretty(tree), "A{\n\tB{\n\t\t1\n\t}\n}\nC{\n\t2,3\n}");
    EXPECT_EQ(pretty(tree, true), "A{\n\tB{\n\t\t1\n\t}\n}");

    // A handle inside a tree writes from its node on, never above it.
    metaObjectC b(tree.node()->firstChild);
    EXPECT_EQ(compact(b), "B{1}");
    metaObjectC two(tree.node()->next->firstChild);
    EXPECT_EQ(compact(two), "2,3");
    EXPECT_EQ(compact(two, true), "2");

    // A string stands in quotes where a number would; leaves before and
    // after a group stay on its lines in the pretty layout.
    metaTreeC* r = createKeyNode("R");
    r->addString("s");
    r->addKey("G")->addKey("H");
    r->addDouble(0.5);
    metaObjectC mixed(r, true);
    EXPECT_EQ(compact(mixed), "R{\"s\",G{H}0.5}");  // no comma after a group
    EXPECT_EQ(pretty(mixed), "R{\n\t\"s\",G{\n\t\tH\n\t}\n\t0.5\n}");

    // Kinds without a text form write nothing.
    metaTreeC* p = createKeyNode("P");
    int target = 0;
    (new metaTreeC(metaValueC(MV_PTR, metaSrcPosS::none(), static_cast<void*>(&target))))->appendTo(p);
    p->addKey("Q");
    metaObjectC pointers(p, true);
    EXPECT_EQ(compact(pointers), "P{,Q}");
}

TEST(MetaTreeTextWriterTest, NumbersAndEscapes) {
    EXPECT_EQ(number(0.1), "0.1");
    EXPECT_EQ(number(1.0 / 3.0), "0.33333333333333");
    EXPECT_EQ(number(-2.0 / 3.0), "-0.66666666666667");
    EXPECT_EQ(number(0.0), "0");
    EXPECT_EQ(number(-0.0), "-0");
    EXPECT_EQ(number(-42), "-42");
    EXPECT_EQ(number(99999999999999.0), "99999999999999");
    EXPECT_EQ(number(1e14), "1e+14");
    EXPECT_EQ(number(-1e14), "-1e+14");
    EXPECT_EQ(number(123456789012345678.0), "1.2345678901235e+17");
    EXPECT_EQ(number(1e-5), "1e-05");
    EXPECT_EQ(number(2.5e-300), "2.5e-300");
    // The whole-number road agrees with "%.14g" everywhere around its edges.
    for (double x : {1.0, 9.0, 10.0, 4294967296.0, 12345678901234.0, 99999999999999.0, 100000000000000.0, 1e15,
                     9007199254740993.0, 0.5, 1e13 + 0.5}) {
        for (double sign : {1.0, -1.0}) {
            char expected[40];
            std::snprintf(expected, sizeof expected, "%.14g", sign * x);
            EXPECT_EQ(number(sign * x), expected) << sign * x;
        }
    }

    metaTreeC* s = createKeyNode("S");
    s->addString("tab\tlf\ncr\rquote\"backslash\\end");
    metaObjectC strings(s, true);
    EXPECT_EQ(compact(strings), "S{\"tab\\tlf\\ncr\\rquote\\\"backslash\\\\end\"}");
}

TEST(MetaTreeTextWriterTest, SavesReportFailureAndSucceedOnlyWhole) {
    metaObjectC empty;
    str out("old");
    EXPECT_EQ(saveTreeToString(empty, out, false, false), 0);
    EXPECT_EQ(out.length(), 0);
    EXPECT_EQ(saveTreeAsString(empty, false, true).length(), 0);

    const std::string path = std::string(::testing::TempDir()) + "save" + std::to_string(::getpid());
    EXPECT_EQ(saveTreeToFile(empty, path.c_str(), false, false), 0);
    EXPECT_NE(access(path.c_str(), F_OK), 0);  // nothing created

    metaObjectC tree = exampleTree();
    EXPECT_EQ(saveTreeToString(tree, out, false, false), 1);
    EXPECT_STREQ(out.text(), "A{B{1}}C{2,3}");
    ASSERT_EQ(saveTreeToFile(tree, path.c_str(), false, true), 1);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char bytes[128] = {};
    const size_t n = std::fread(bytes, 1, sizeof bytes, f);
    std::fclose(f);
    EXPECT_EQ(std::string(bytes, n), asTextFile(pretty(tree)));
    std::remove(path.c_str());

    EXPECT_EQ(saveTreeToFile(tree, "/nonexistent-dir/tree.txt", false, false), 0);
    EXPECT_EQ(saveTreeToFile(tree, nullptr, false, false), 0);
    // A device that refuses the bytes: the write does not complete.
    if (access("/dev/full", W_OK) == 0) {
        EXPECT_EQ(saveTreeToFile(tree, "/dev/full", false, false), 0);
    }
}

}  // namespace
