#include "metatree/metaObjectCRC.h"
#include "metatree/metaObjectRef.h"
#include "metatree/metaTreeTextReader.h"
#include "metatree/metaTreeTextSave.h"
#include "support/trees/treeCompare.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

namespace {

// Keys, strings holding every byte but zero, whole and fractional numbers,
// empty groups left out (a key without children), several levels.
metaObjectC sampleTree() {
    metaTreeC* root = createKeyNode("ROOT");
    std::string everyByte;
    for (int c = 1; c < 256; ++c)
        everyByte += static_cast<char>(c);
    metaTreeC* strings = root->addKey("STRINGS");
    strings->addString(everyByte.c_str());
    strings->addString("");
    strings->addString("line\nfeed \"quoted\" back\\slash\ttab\rcr");
    metaTreeC* numbers = root->addKey("NUMBERS");
    for (double x : {0.0, -1.0, 0.1, 1.0 / 3.0, 1e14, -2.5e-300, 123456.75, 1e100})
        numbers->addDouble(x);
    metaTreeC* level = root->addKey("DEEP");
    for (int i = 0; i < 50; ++i) {
        level->addKey("SIBLING")->addInteger(i);
        level = level->addKey("LEVEL");
    }
    root->addKey("a.b-c+d@e_f");
    createKeyNode("NEXT")->linkAfter(root);
    return metaObjectC(root, true);
}

TEST(MetaTreeTextRoundTripTest, SavedTextLoadsToTheSameTreeAndSavesAlike) {
    metaObjectC tree = sampleTree();
    for (bool pretty : {false, true}) {
        SCOPED_TRACE(pretty ? "pretty" : "compact");
        const str text = saveTreeAsString(tree, false, pretty);
        metaTreeTextReaderC reader;
        metaObjectC loaded = reader.loadTreeFromString(text.text(), true);
        ASSERT_TRUE(loaded.valid()) << reader.errorText().text();
        // 0.1, 1/3 and the others come back as the 14 digits written.
        EXPECT_EQ(treeDifference(tree.node(), loaded.node(), numberMatchE::asWritten), "");
        EXPECT_STREQ(saveTreeAsString(loaded, false, pretty).text(), text.text());
        // The other layout of the loaded tree reads back the same too.
        metaObjectC again = reader.loadTreeFromString(saveTreeAsString(loaded, false, !pretty).text(), true);
        EXPECT_EQ(treeDifference(loaded.node(), again.node(), numberMatchE::exact), "");
    }
}

TEST(MetaTreeTextRoundTripTest, LoadedNodesCarryTheirLinesMadeOnesMinusOne) {
    metaObjectC tree = sampleTree();
    EXPECT_EQ(tree.node()->value.srcPos().line, -1);
    EXPECT_EQ(tree.node()->value.srcPos().aux, -1);

    const std::string path = std::string(::testing::TempDir()) + "lines" + std::to_string(::getpid());
    ASSERT_EQ(saveTreeToFile(tree, path.c_str(), false, true), 1);
    metaTreeTextReaderC reader;
    metaObjectC loaded = reader.loadTreeFromFile(path.c_str(), true);
    std::remove(path.c_str());
    ASSERT_TRUE(loaded.valid());
    const metaTreeC* root = loaded.node();
    EXPECT_EQ(root->value.srcPos().line, 1);
    EXPECT_EQ(root->value.srcPos().aux, 0);
    // ROOT{ / STRINGS{ / the three strings on one line.
    const metaTreeC* strings = root->firstChild;
    EXPECT_EQ(strings->value.srcPos().line, 2);
    EXPECT_EQ(strings->firstChild->value.srcPos().line, 3);
    EXPECT_EQ(strings->firstChild->next->next->value.srcPos().line, 3);
    // "}" (4), NUMBERS{ (5).
    EXPECT_EQ(strings->next->value.srcPos().line, 5);
}

TEST(MetaTreeTextRoundTripTest, ReferencesAndChecksumsGoThroughTheirHooks) {
    metaTreeC* root = createKeyNode("ROOT");
    metaTreeC* a = root->addKey("A");
    a->addString("x");
    metaTreeC* ref = root->addKey("B")->addKey("MOREF");
    metaObjectRefC(ref).setTarget(a);
    metaTreeC* crc = root->addKey("MOCRC");
    metaObjectC(metaObjectC(crc).findOrCreateChild("CRCVALUE")).setInteger(12345);
    metaObjectC tree(root, true);

    const str text = saveTreeAsString(tree, true, false);
    // The checksum was recomputed before the write, in the source too.
    EXPECT_EQ(metaObjectCRCC(crc).verify(), 1);
    EXPECT_EQ(std::string(text.text()).find("12345"), std::string::npos);
    // The source reference keeps its address; the text holds A's number.
    EXPECT_EQ(metaObjectRefC(ref).target(true), a);

    metaTreeTextReaderC reader;
    metaObjectC loaded = reader.loadTreeFromString(text.text(), true);
    ASSERT_TRUE(loaded.valid()) << reader.errorText().text();
    metaTreeC* loadedA = loaded.findChild("A");
    metaTreeC* loadedRef = metaObjectC(loaded.findChild("B")).findChild("MOREF");
    ASSERT_NE(loadedRef, nullptr);
    EXPECT_EQ(metaObjectRefC(loadedRef).target(true), loadedA);
    EXPECT_EQ(metaObjectCRCC(loaded.findChild("MOCRC")).verify(), 1);
    EXPECT_STREQ(saveTreeAsString(loaded, true, false).text(), text.text());
}

}  // namespace
