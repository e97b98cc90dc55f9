#include "metatree/crc32.h"
#include "metatree/metaHooks.h"
#include "metatree/metaObjectCRC.h"
#include "metatree/metaObjectRef.h"
#include "treeTestUtil.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

namespace {

int32_t zlibCrc(const std::string& text) {
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(text.data()),
                            static_cast<uInt>(text.size()));
    return static_cast<int32_t>(static_cast<uint32_t>(crc));
}

int32_t storedCrc(metaTreeC* mocrc) { return metaObjectC(metaObjectC(mocrc).findChild("CRCVALUE")).getInteger(); }

}  // namespace

TEST(Crc32, AgreesWithZlib) {
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

TEST(Checksum, CoversKeysAndStringsButNotNumbers) {
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
    EXPECT_EQ(render(mocrc, true).substr(0, 26), "MOCRC(CRCTYPE(0),CRCVALUE(");
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

TEST(Checksum, NothingToCoverStoresNothing) {
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
