#include "metatree/metaTree.h"
#include "translator/capsTree.h"
#include "translator/conversionOptions.h"
#include "translator/conversionRequest.h"
#include "translator/requestTree.h"
#include "support/trees/treeText.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using treeP = std::unique_ptr<metaTreeC>;

treeP newRequest() { return treeP(createKeyNode("REQUEST")); }

void expectZero(const vectorC3d& v) {
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.y, 0);
    EXPECT_EQ(v.z, 0);
}

TEST(RequestTreeTest, ReadingCreatesExactlyTheKeysOfTheRequestLayout) {
    // Nothing at all: the root keys and CUSTOMDATA/ENTRIES appear, INPUTDATA
    // does not.
    treeP empty = newRequest();
    conversionRequestS request = readConversionRequest(empty.get());
    EXPECT_EQ(treeText(empty.get()), "REQUEST(NAME,OUTPUTLOCATION,VERSION,CUSTOMDATA(ENTRIES))");
    EXPECT_STREQ(request.outputPath.text(), "");
    EXPECT_STREQ(request.u3dPath.text(), "");
    expectZero(request.boxMin);
    expectZero(request.boxMax);

    // An input record of any key gains its three entries; an INPUTDATA
    // without children stays as it is.
    treeP withInput = newRequest();
    addKey(addKey(withInput.get(), "INPUTDATA"), "WHATEVER");
    readConversionRequest(withInput.get());
    EXPECT_EQ(treeText(withInput.get()),
              "REQUEST(INPUTDATA(WHATEVER(FILENAME,U3DBOXMIN,U3DBOXMAX)),"
              "NAME,OUTPUTLOCATION,VERSION,CUSTOMDATA(ENTRIES))");
    treeP bareInput = newRequest();
    addKey(bareInput.get(), "INPUTDATA");
    readConversionRequest(bareInput.get());
    EXPECT_EQ(treeText(bareInput.get()), "REQUEST(INPUTDATA,NAME,OUTPUTLOCATION,VERSION,CUSTOMDATA(ENTRIES))");

    // A complete request is read as it stands and gains nothing but the
    // TEXT of the matching entry and the KEY of each entry examined.
    treeP full = newRequest();
    addText(full.get(), "NAME", "Host");
    addText(full.get(), "VERSION", "V2");
    addText(full.get(), "OUTPUTLOCATION", "/out/model.pdf");
    addText(full.get(), "OUTPUTLOCATION", "/second/is/ignored.pdf");
    metaTreeC* entries = addKey(addKey(full.get(), "CUSTOMDATA"), "ENTRIES");
    addKey(entries, "ENTRY");
    addText(addKey(entries, "ENTRY"), "KEY", "AddLibPath");
    metaTreeC* record = addKey(addKey(full.get(), "INPUTDATA"), "MODEL");
    addText(record, "FILENAME", "/tmp/model.u3d");
    addNumbers(record, "U3DBOXMIN", {-1, -2, -3});
    addNumbers(record, "U3DBOXMAX", {1, 2, 3.5});
    request = readConversionRequest(full.get());
    EXPECT_STREQ(request.outputPath.text(), "/out/model.pdf");
    EXPECT_STREQ(request.u3dPath.text(), "/tmp/model.u3d");
    EXPECT_EQ(request.boxMin.x, -1);
    EXPECT_EQ(request.boxMin.z, -3);
    EXPECT_EQ(request.boxMax.y, 2);
    EXPECT_EQ(request.boxMax.z, 3.5);
    EXPECT_EQ(treeText(full.get()),
              "REQUEST(NAME('Host'),VERSION('V2'),OUTPUTLOCATION('/out/model.pdf'),"
              "OUTPUTLOCATION('/second/is/ignored.pdf'),"
              "CUSTOMDATA(ENTRIES(ENTRY,ENTRY(KEY('AddLibPath'),TEXT))),"
              "INPUTDATA(MODEL(FILENAME('/tmp/model.u3d'),U3DBOXMIN(-1,-2,-3),U3DBOXMAX(1,2,3.5))))");
    // The matching entry was examined first (from the end) and ended the
    // lookup: the one before it gained no KEY.
}

TEST(RequestTreeTest, ValuesOfTheWrongShapeReadAsEmpty) {
    treeP root = newRequest();
    addNumbers(root.get(), "OUTPUTLOCATION", {5});
    metaTreeC* record = addKey(addKey(root.get(), "INPUTDATA"), "MODEL");
    addNumbers(record, "U3DBOXMIN", {1, 2});
    addNumbers(record, "U3DBOXMAX", {1, 2, 3, 4});

    requestRootC request(root.get());
    int found = -1;
    EXPECT_STREQ(request.OUTPUTLOCATION(&found).text(), "");
    EXPECT_EQ(found, 0);
    requestInputC input = request.INPUTDATA();
    expectZero(input.U3DBOXMIN(&found));
    EXPECT_EQ(found, 0);
    expectZero(input.U3DBOXMAX(&found));
    EXPECT_EQ(found, 0);
    EXPECT_EQ(input.FILENAME(&found).length(), 0);
    EXPECT_EQ(found, 0);
    // Nothing read changed a value.
    EXPECT_EQ(treeText(root.get()),
              "REQUEST(OUTPUTLOCATION(5),INPUTDATA(MODEL(U3DBOXMIN(1,2),U3DBOXMAX(1,2,3,4),FILENAME)))");

    // A text among three children is not a coordinate.
    treeP mixed(createKeyNode("MODEL"));
    addNumbers(mixed.get(), "U3DBOXMIN", {1, 2})->addString("3");
    expectZero(requestInputC(mixed.get()).U3DBOXMIN(&found));
    EXPECT_EQ(found, 0);

    // A wrapper without node reads empty and creates nothing.
    requestInputC none(nullptr);
    EXPECT_STREQ(none.FILENAME(&found).text(), "");
    EXPECT_EQ(found, 0);
    expectZero(none.U3DBOXMAX(&found));
    EXPECT_EQ(found, 0);
}

TEST(RequestTreeTest, TheLastEntryMatchingTheKeyInAnyCaseIsFound) {
    treeP root = newRequest();
    metaTreeC* entries = addKey(addKey(root.get(), "CUSTOMDATA"), "ENTRIES");
    metaTreeC* first = addKey(entries, "ENTRY");
    addText(first, "KEY", "addlibpath");
    addText(first, "TEXT", "/first");
    addText(addKey(entries, "ENTRY"), "KEY", "Other");
    metaTreeC* second = addKey(entries, "ENTRY");
    addText(second, "KEY", "ADDLIBPATH");
    addText(second, "TEXT", "/second");
    addKey(entries, "NOTANENTRY");

    requestEntriesC list = requestRootC(root.get()).CUSTOMDATA().ENTRIES();
    requestEntryC found = list.ENTRY("AddLibPath");
    EXPECT_EQ(found.node(), second);
    EXPECT_STREQ(found.TEXT().text(), "/second");

    requestEntryC missing = list.ENTRY("AddLibPathX");
    EXPECT_FALSE(missing.valid());
    EXPECT_STREQ(missing.TEXT().text(), "");
    EXPECT_EQ(treeText(entries),
              "ENTRIES(ENTRY(KEY('addlibpath'),TEXT('/first')),ENTRY(KEY('Other')),"
              "ENTRY(KEY('ADDLIBPATH'),TEXT('/second')),NOTANENTRY)");
}

TEST(RequestTreeTest, CustomEntriesOfTheConversionAreReadWithoutCreatingAnything) {
    // Each switch word, in the case a host may write it, and the refused
    // ones with the message that names them.
    const struct {
        const char* text;  // null: an entry without TEXT
        bool centerView;
        const char* error;
    } cases[] = {
        {"on", true, ""}, {"YES", true, ""}, {"True", true, ""}, {"1", true, ""},
        {"OFF", false, ""}, {"no", false, ""}, {"false", false, ""}, {"0", false, ""},
        {" on", false, "the custom entry CenterView does not take \" on\": use On or Off"},
        {"2", false, "the custom entry CenterView does not take \"2\": use On or Off"},
        {nullptr, false, "the custom entry CenterView does not take \"\": use On or Off"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "no TEXT");
        treeP root = newRequest();
        metaTreeC* entries = addKey(addKey(root.get(), "CUSTOMDATA"), "ENTRIES");
        // A keyless entry and an earlier CenterView that the last one overrides.
        addKey(entries, "ENTRY");
        metaTreeC* earlier = addKey(entries, "ENTRY");
        addText(earlier, "KEY", "CenterView");
        addText(earlier, "TEXT", c.centerView ? "off" : "on");
        metaTreeC* last = addKey(entries, "ENTRY");
        addText(last, "KEY", "CENTERview");
        if (c.text)
            addText(last, "TEXT", c.text);
        const std::string before = treeText(entries);

        const conversionOptionsReadS read = readConversionOptions(requestEntriesC(entries));
        EXPECT_EQ(read.options.centerView, c.centerView);
        EXPECT_STREQ(read.error.text(), c.error);
        EXPECT_EQ(treeText(entries), before);
    }
    // Without the entry: the conversion as it always was.
    treeP plain = newRequest();
    const conversionRequestS request = readConversionRequest(plain.get());
    EXPECT_FALSE(request.custom.options.centerView);
    EXPECT_EQ(request.custom.error.length(), 0);
}

TEST(RequestTreeTest, WritesKeepAValueOfAnotherKind) {
    treeP root(createKeyNode("INFO"));
    addNumbers(root.get(), "NAME", {3});
    addText(root.get(), "DESC", "old");
    capsInfoC info(root.get());
    info.NAME("text onto a number");
    info.DESC("new");
    info.DATE("today");
    EXPECT_EQ(treeText(root.get()), "INFO(NAME(3),DESC('new'),DATE('today'))");
}

}  // namespace

namespace {

// What a host writes through the same accessors is what the module reads:
// the keys in the layout's places, a box entry replaced as a whole.
TEST(RequestTreeTest, HostWritesGiveTheRequestTheModuleReads) {
    treeP tree = newRequest();
    requestRootC root(tree.get());
    root.NAME("host");
    root.OUTPUTLOCATION("out.pdf");
    requestInputC input = root.addINPUT("MODEL");
    input.FILENAME("m.u3d");
    input.U3DBOXMIN({9, 9, 9});
    input.U3DBOXMIN({-1, -2, -3});
    input.U3DBOXMAX({1, 2, 3});
    // A second record is appended, and ignored by the conversion.
    root.addINPUT("OTHER").FILENAME("other.u3d");
    EXPECT_EQ(treeText(tree.get()),
              "REQUEST(NAME('host'),OUTPUTLOCATION('out.pdf'),INPUTDATA(MODEL(FILENAME('m.u3d'),"
              "U3DBOXMIN(-1,-2,-3),U3DBOXMAX(1,2,3)),OTHER(FILENAME('other.u3d'))))");
    const conversionRequestS request = readConversionRequest(tree.get());
    EXPECT_STREQ(request.outputPath.text(), "out.pdf");
    EXPECT_STREQ(request.u3dPath.text(), "m.u3d");
    EXPECT_EQ(request.boxMin.z, -3);
    EXPECT_EQ(request.boxMax.y, 2);

    // On a wrapper without a node every write does nothing.
    requestRootC none(nullptr);
    none.OUTPUTLOCATION("x");
    EXPECT_FALSE(none.addINPUT("MODEL").valid());
}

}  // namespace
