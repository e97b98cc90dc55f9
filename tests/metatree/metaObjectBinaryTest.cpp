#include "metatree/metaObjectBinary.h"
#include "metatree/sixBitCodec.h"
#include "treeTestUtil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

std::vector<uint8_t> roundTrip(const std::vector<uint8_t>& bytes) {
    metaObjectBinaryC value(createKeyNode("BIN"), true);
    EXPECT_TRUE(value.storeBytes(bytes.data(), static_cast<int32_t>(bytes.size()), 7));
    std::vector<uint8_t> back(bytes.size() + 1, 0xEE);
    const int32_t n = value.loadBytes(back.data(), static_cast<int32_t>(back.size()));
    back.resize(n < 0 ? 0 : static_cast<size_t>(n));
    return back;
}

// A binary value whose children are set by hand, as a text form may hold them.
metaTreeC* handMade(double size, const char* data) {
    metaTreeC* v = createKeyNode("BIN");
    v->addKey("CODE")->addInteger(0);
    v->addKey("SIZE")->addDouble(size);
    if (data)
        v->addKey("DATA")->addString(data);
    return v;
}

}  // namespace

TEST(BinaryValueTest, ArbitraryBytesSurviveTheTextEncoding) {
    std::vector<uint8_t> all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    EXPECT_EQ(roundTrip(all), all);

    std::mt19937 random(42);
    for (size_t length = 1; length <= 7; ++length)
        for (int trial = 0; trial < 64; ++trial) {
            std::vector<uint8_t> bytes(length);
            for (uint8_t& b : bytes)
                b = static_cast<uint8_t>(random());
            ASSERT_EQ(roundTrip(bytes), bytes) << "length " << length;
        }
    std::vector<uint8_t> large(100003);
    for (uint8_t& b : large)
        b = static_cast<uint8_t>(random());
    EXPECT_EQ(roundTrip(large), large);
}

TEST(BinaryValueTest, LayoutAndEncodedLengths) {
    metaObjectBinaryC value(createKeyNode("BIN"), true);
    const uint8_t one[4] = {1, 0, 0, 0};
    ASSERT_TRUE(value.storeBytes(one, 4, 9));
    EXPECT_EQ(chainText(value.node()), "BIN(CODE(9),SIZE(4),DATA('0g0000'))");

    for (int32_t n : {1, 2, 3, 4, 5, 6, 7, 8}) {
        const uint8_t zeros[8] = {};
        value.storeBytes(zeros, n, 0);
        const size_t chars = metaObjectC(value.findChild("DATA")).getString().length();
        EXPECT_EQ(chars, static_cast<size_t>((8 * n + 5) / 6));
        EXPECT_EQ(chars * 6 / 8, static_cast<size_t>(n));  // decodes back to n bytes
    }

    // Zero bytes: CODE and SIZE, no DATA, nothing to load.
    value.storeBytes(nullptr, 0, 3);
    EXPECT_EQ(chainText(value.node()), "BIN(CODE(3),SIZE(0))");
    uint8_t buffer[4] = {5, 5, 5, 5};
    EXPECT_EQ(value.loadBytes(buffer, 4), -1);
    EXPECT_EQ(buffer[0], 5);

    // Refused stores change nothing.
    EXPECT_FALSE(value.storeBytes(one, -1, 0));
    EXPECT_FALSE(value.storeBytes(nullptr, 4, 0));
    EXPECT_FALSE(metaObjectBinaryC().storeBytes(one, 4, 0));
    EXPECT_EQ(chainText(value.node()), "BIN(CODE(3),SIZE(0))");
}

TEST(BinaryValueTest, BadStoredValuesNeverOverrunOrInventBytes) {
    uint8_t buffer[8];
    auto load = [&](metaTreeC* tree, int32_t capacity) {
        std::memset(buffer, 0xAA, sizeof buffer);
        metaObjectBinaryC v(tree, true);
        return v.loadBytes(buffer, capacity);
    };
    // DATA longer than SIZE: cut to SIZE, nothing written past it.
    EXPECT_EQ(load(handMade(2, "0g0000zzzzzz"), 8), 2);
    EXPECT_EQ(buffer[0], 1);
    EXPECT_EQ(buffer[1], 0);
    EXPECT_EQ(buffer[2], 0xAA);
    // DATA shorter than SIZE: only the bytes it holds.
    EXPECT_EQ(load(handMade(4, "0g0"), 8), 2);
    EXPECT_EQ(load(handMade(4, nullptr), 8), 0);
    // SIZE above the capacity, zero, negative, missing: nothing.
    EXPECT_EQ(load(handMade(5, "0g000000"), 4), -1);
    EXPECT_EQ(buffer[0], 0xAA);
    EXPECT_EQ(load(handMade(0, "0g0000"), 8), -1);
    EXPECT_EQ(load(handMade(-4, "0g0000"), 8), -1);
    EXPECT_EQ(load(createKeyNode("BIN"), 8), -1);
    // A character outside the alphabet (the 21 further characters included)
    // makes the value unreadable rather than silently wrong.
    for (const char* bad : {"0g00.0", "0g00:0", "0g00 0", "0g00\xA7" "0", "\x80g0000"}) {
        EXPECT_EQ(load(handMade(4, bad), 8), -1) << bad;
        EXPECT_EQ(buffer[0], 0xAA);
    }
    // Characters past those needed for SIZE bytes are not looked at.
    EXPECT_EQ(load(handMade(1, "0g!!"), 8), 1);
}

TEST(BinaryValueTest, RewriteKeepsEveryNode) {
    metaTreeC* tree = handMade(4, "0g0000");
    tree->addKey("EXTRA");
    metaTreeC* size = tree->firstChild->next;
    tree->firstChild->firstChild->value.setText(MV_STRING, "not a number");
    metaObjectBinaryC value(tree, true);
    const uint8_t bytes[3] = {0xFF, 0x00, 0x7F};
    ASSERT_TRUE(value.rewriteBytes(bytes, 3, 5));
    EXPECT_EQ(chainText(tree), "BIN(CODE(5),SIZE(3),DATA('" + std::string(sixBitEncode(bytes, 3).text()) + "'),EXTRA)");
    EXPECT_EQ(tree->firstChild->next, size);
    uint8_t back[3] = {};
    EXPECT_EQ(value.loadBytes(back, 3), 3);
    EXPECT_EQ(std::memcmp(back, bytes, 3), 0);

    metaObjectBinaryC empty(createKeyNode("BIN"), true);
    ASSERT_TRUE(empty.rewriteBytes(bytes, 3, 0));
    EXPECT_EQ(chainText(empty.node()), "BIN(CODE(0),SIZE(3),DATA('" + std::string(sixBitEncode(bytes, 3).text()) + "'))");
}
