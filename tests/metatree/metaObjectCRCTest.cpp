#include "metatree/crc32.h"
#include "metatree/metaHooks.h"
#include "metatree/metaObjectCRC.h"
#include "metatree/metaObjectRef.h"
#include "metatree/treeWalk.h"
#include "treeTestUtil.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

namespace {

int32_t zlibCrc(const std::string& text) {
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(text.data()),
                            static_cast<uInt>(text.size()));
    return static_cast<int32_t>(static_cast<uint32_t>(crc));
}

int32_t storedCrc(metaTreeC* mocrc) { return metaObjectC(metaObjectC(mocrc).findChild("CRCVALUE")).getInteger(); }

}  // namespace

TEST(Crc32Test, AgreesWithZlib) {
    for (const std::string& text : {std::string(), std::string("123456789"), std::string(1000, '\xFF')}) {
        crc32C crc;
        crc.update(text.data(), text.size());
        EXPECT_EQ(static_cast<int32_t>(crc.value()), zlibCrc(text));
    }
    crc32C pieces;
    pieces.update("1234", 4);
    pieces.update("56789", 5);
    EXPECT_EQ(pieces.value(), 0xCBF43926u);
}

TEST(ChecksumTest, CoversKeysAndStringsButNotNumbers) {
    // DOC{ NAME{"a\"b\tc\\"} WIDTH{1.5} MOCRC{...} PART{ X{"x"} } } NEXT{7}
    metaObjectC doc(createKeyNode("DOC"), true);
    doc.node()->addKey("NAME")->addString("a\"b\tc\\");
    metaTreeC* width = doc.node()->addKey("WIDTH")->addDouble(1.5);
    metaTreeC* mocrc = doc.node()->addKey("MOCRC");
    metaTreeC* part = doc.node()->addKey("PART");
    metaTreeC* x = part->addKey("X")->addString("x");
    metaTreeC* next = createKeyNode("NEXT");
    next->addInteger(7);
    next->insertAfter(doc.node());  // following siblings of the covered node count too

    metaObjectCRCC crc(mocrc);
    ASSERT_EQ(crc.computeAndStore(), 1);
    const std::string text = "DOCNAME\"a\\\"b\\tc\\\\\"WIDTHVALPARTX\"x\"NEXTVAL";
    EXPECT_EQ(storedCrc(mocrc), zlibCrc(text));
    EXPECT_EQ(treeText(mocrc).substr(0, 26), "MOCRC(CRCTYPE(0),CRCVALUE(");
    EXPECT_EQ(crc.verify(), 1);

    width->value.setNumber(-99);  // numbers do not count
    EXPECT_EQ(crc.verify(), 1);
    mocrc->addKey("JUNK")->addString("under the checksum entry");  // nor MOCRC's own entries
    mocrc->addKey("MOREF");  // a reference without target: the parent stays covered
    EXPECT_EQ(crc.verify(), 1);
    part->addKey("MOREF")->addKey("ANY");  // nor references
    EXPECT_EQ(crc.verify(), 1);
    x->value.setText(MV_STRING, "y");  // strings do
    EXPECT_EQ(crc.verify(), 0);
    x->value.setText(MV_STRING, "x");
    part->addKey("Y")->addInteger(3);  // and a new number entry's key
    EXPECT_EQ(crc.verify(), 0);
    ASSERT_EQ(crc.computeAndStore(), 1);
    EXPECT_EQ(storedCrc(mocrc), zlibCrc("DOCNAME\"a\\\"b\\tc\\\\\"WIDTHVALPARTX\"x\"YVALNEXTVAL"));

    // A reference in the checksum entry moves the coverage to its target.
    metaObjectRefC(metaObjectC(mocrc).findChild("MOREF")).setTarget(part);
    ASSERT_EQ(crc.computeAndStore(), 1);
    EXPECT_EQ(storedCrc(mocrc), zlibCrc("PARTX\"x\"YVAL"));

    // Saving recomputes: the export holds the new value, and so does the source.
    x->value.setText(MV_STRING, "z");
    metaTreeC* exported = runSaveHooks(doc.node(), true);
    ASSERT_NE(exported, nullptr);
    EXPECT_EQ(storedCrc(exported->firstChild->next->next), zlibCrc("PARTX\"z\"YVAL"));
    EXPECT_EQ(storedCrc(mocrc), zlibCrc("PARTX\"z\"YVAL"));
    EXPECT_EQ(exported->next, nullptr);  // firstOnly
    delete exported;
}

TEST(ChecksumTest, NothingToCoverStoresNothing) {
    metaObjectC lone(createKeyNode("MOCRC"), true);
    metaObjectCRCC crc(lone.node());
    EXPECT_EQ(crc.computeAndStore(), 0);
    EXPECT_EQ(crc.verify(), 0);
    EXPECT_EQ(lone.node()->firstChild, nullptr);
    EXPECT_EQ(metaObjectCRCC().computeAndStore(), 0);

    // A value of another kind is not overwritten, and that is no success.
    metaObjectC doc(createKeyNode("DOC"), true);
    metaTreeC* mocrc = doc.node()->addKey("MOCRC");
    mocrc->addKey("CRCVALUE")->addString("text");
    EXPECT_EQ(metaObjectCRCC(mocrc).computeAndStore(), 0);
    EXPECT_EQ(metaObjectCRCC(mocrc).verify(), 0);
}

namespace {

// Saves the tree as a text would hold it and loads that back; the caller
// owns the result.
metaTreeC* savedAndLoaded(metaTreeC* root) {
    metaTreeC* exported = runSaveHooks(root, true);
    runLoadHooks(exported, true);
    return exported;
}

std::vector<metaTreeC*> checksumEntries(metaTreeC* root) {
    std::vector<metaTreeC*> found;
    preOrderWalkT<metaTreeC> walk(root, -1, true);
    for (; metaTreeC* n = walk.node(); walk.advance())
        if (n->isKey("MOCRC"))
            found.push_back(n);
    return found;
}

}  // namespace

TEST(ChecksumTest, NothingBelowAHookedEntryCountsWhereverTheWalkStarts) {
    // DOC{ NAME{"n"} MOCRC{ PART{ "p" MOCRC{} } } B{ MOREF->NAME{ REFTRGPTR{ .. MOCRC{} } } } }
    metaObjectC doc(createKeyNode("DOC"), true);
    metaTreeC* name = doc.node()->addKey("NAME");
    name->addString("n");
    metaTreeC* outer = doc.node()->addKey("MOCRC");
    metaTreeC* part = outer->addKey("PART");
    part->addString("p");
    // Covers PART and what follows it in the outer entry's record, which
    // gains CRCTYPE and CRCVALUE only when the outer entry is computed.
    metaTreeC* inChecksum = part->addKey("MOCRC");
    metaTreeC* reference = doc.node()->addKey("B")->addKey("MOREF");
    metaObjectRefC(reference).setTarget(name);
    // Covers the reference's stored address.
    metaTreeC* inReference = metaObjectRefC(reference).refEntry().node()->addKey("MOCRC");

    // Right after the save every checksum holds, in the source and in what
    // was saved; the nested ones cover nothing.
    metaTreeC* loaded = savedAndLoaded(doc.node());
    ASSERT_NE(loaded, nullptr);
    const std::vector<metaTreeC*> saved = checksumEntries(loaded);
    EXPECT_EQ(checksumEntries(doc.node()), (std::vector<metaTreeC*>{outer, inChecksum, inReference}));
    ASSERT_EQ(saved.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(metaObjectCRCC(checksumEntries(doc.node())[i]).verify(), 1) << i;
        EXPECT_EQ(metaObjectCRCC(saved[i]).verify(), 1) << i;
    }
    EXPECT_EQ(storedCrc(outer), zlibCrc("DOCNAME\"n\"B"));
    EXPECT_EQ(storedCrc(inChecksum), zlibCrc(""));
    EXPECT_EQ(storedCrc(inReference), zlibCrc(""));
    delete loaded;

    // A reference that leads a checksum into such a record covers nothing
    // either.
    metaTreeC* redirected = doc.node()->addKey("MOCRC");
    metaObjectRefC(redirected->addKey("MOREF")).setTarget(metaObjectC(outer).findChild("CRCTYPE"));
    ASSERT_EQ(metaObjectCRCC(redirected).computeAndStore(), 1);
    EXPECT_EQ(storedCrc(redirected), zlibCrc(""));
}
