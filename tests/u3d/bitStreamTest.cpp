#include "u3d/bitReader.h"
#include "u3d/bitWriter.h"
#include "u3d/contexts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace u3d;

enum class opE { u8, u16, u32, u64, i16, i32, f32, f64, text, cu8, cu16, cu32 };

struct opS {
    opE kind = opE::u8;
    uint32_t context = 0;
    uint64_t value = 0;
    double real = 0;
    std::string text;
};

opS plain(opE kind, uint64_t value) {
    opS op;
    op.kind = kind;
    op.value = value;
    return op;
}

opS compressed(opE kind, uint32_t context, uint64_t value) {
    opS op = plain(kind, value);
    op.context = context;
    return op;
}

opS real(opE kind, double value) {
    opS op;
    op.kind = kind;
    op.real = value;
    return op;
}

opS text(std::string value) {
    opS op;
    op.kind = opE::text;
    op.text = std::move(value);
    return op;
}

void write(bitWriterC& w, const opS& op) {
    switch (op.kind) {
        case opE::u8: w.writeU8(uint8_t(op.value)); break;
        case opE::u16: w.writeU16(uint16_t(op.value)); break;
        case opE::u32: w.writeU32(uint32_t(op.value)); break;
        case opE::u64: w.writeU64(op.value); break;
        case opE::i16: w.writeI16(int16_t(op.value)); break;
        case opE::i32: w.writeI32(int32_t(op.value)); break;
        case opE::f32: w.writeF32(float(op.real)); break;
        case opE::f64: w.writeF64(op.real); break;
        case opE::text: w.writeString(op.text); break;
        case opE::cu8: w.writeCompressedU8(op.context, uint8_t(op.value)); break;
        case opE::cu16: w.writeCompressedU16(op.context, uint16_t(op.value)); break;
        case opE::cu32: w.writeCompressedU32(op.context, uint32_t(op.value)); break;
    }
}

// Reads the value back and says whether it is the one written.
bool readsBack(bitReaderC& r, const opS& op) {
    switch (op.kind) {
        case opE::u8: return r.readU8() == uint8_t(op.value);
        case opE::u16: return r.readU16() == uint16_t(op.value);
        case opE::u32: return r.readU32() == uint32_t(op.value);
        case opE::u64: return r.readU64() == op.value;
        case opE::i16: return r.readI16() == int16_t(op.value);
        case opE::i32: return r.readI32() == int32_t(op.value);
        case opE::f32: return r.readF32() == float(op.real);
        case opE::f64: return r.readF64() == op.real;
        case opE::text: return r.readString() == op.text;
        case opE::cu8: return r.readCompressedU8(op.context) == uint8_t(op.value);
        case opE::cu16: return r.readCompressedU16(op.context) == uint16_t(op.value);
        case opE::cu32: return r.readCompressedU32(op.context) == uint32_t(op.value);
    }
    return false;
}

// A block's worth of values of every kind. Adaptive contexts see skewed
// values (so that they learn them), values they have not seen (escapes),
// values above the histogram's reach, and in one context more than 8191
// symbols (so that its frequencies are halved several times). Static
// contexts range from one value (which costs no bits) to the largest.
std::vector<opS> mixedOps(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::geometric_distribution<uint32_t> skewed(0.2);
    const uint32_t staticCounts[] = {1, 2, 3, 7, 256, 1000, 0x3FFE};
    std::vector<opS> ops;
    for (int i = 0; i < count; ++i) {
        opS op;
        switch (random() % 16) {
            case 0: op = plain(opE::u8, random() & 0xFF); break;
            case 1: op = plain(opE::u16, random() & 0xFFFF); break;
            case 2: op = plain(opE::u32, random()); break;
            case 3: op = plain(opE::u64, (uint64_t(random()) << 32) | random()); break;
            case 4: op = plain(opE::i32, uint64_t(-int64_t(random() % 1000))); break;
            case 5: op = real(opE::f32, double(float(int(random() % 20000) - 10000) / 7.0f)); break;
            case 6: op = real(opE::f64, std::ldexp(double(random()), -int(random() % 40))); break;
            case 7: op = text(std::string(random() % 12, char('a' + random() % 26))); break;
            case 8: op = compressed(opE::cu8, 1 + random() % 3, skewed(random) & 0xFF); break;
            case 9: op = compressed(opE::cu16, 4 + random() % 3, skewed(random) * 37); break;
            case 10: op = compressed(opE::cu32, 20, random() % 50 == 0 ? 0x20000u + random() % 5 : skewed(random)); break;
            case 11: op = compressed(opE::cu32, kStaticFull, skewed(random)); break;
            case 12: {
                const uint32_t n = staticCounts[random() % 7];
                op = compressed(opE::cu32, staticContext(n), random() % n);
                break;
            }
            case 13: op = compressed(opE::cu32, random() % 2 ? 0u : uint32_t(kMaxRange + random() % 9), random()); break;
            case 14: op = compressed(opE::cu16, staticContext(uint32_t(0x4000 + random() % 10)), random() & 0xFFFF); break;
            default: op = compressed(opE::cu8, 30, random() % 8 == 0 ? random() & 0xFF : skewed(random) & 3); break;
        }
        ops.push_back(op);
    }
    return ops;
}

std::vector<uint8_t> writeAll(const std::vector<opS>& ops, bool noCompression = false) {
    bitWriterC w;
    w.setNoCompression(noCompression);
    for (const opS& op : ops)
        write(w, op);
    return w.finish();
}

void expectReadsBack(const std::vector<opS>& ops, const std::vector<uint8_t>& bytes, bool noCompression = false) {
    bitReaderC r(bytes, {});
    r.setNoCompression(noCompression);
    for (size_t i = 0; i < ops.size(); ++i)
        ASSERT_TRUE(readsBack(r, ops[i])) << "value " << i << " of kind " << int(ops[i].kind);
    // The writer's closing zeros are still unread; nothing else is.
    EXPECT_LE(r.bitsLeft(), 40u);
}

TEST(BitStreamTest, EveryKindOfValueReadsBackAsWritten) {
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        const std::vector<opS> ops = mixedOps(seed, 30000);
        expectReadsBack(ops, writeAll(ops));
        expectReadsBack(ops, writeAll(ops, true), true);
    }
}

TEST(BitStreamTest, OneAdaptiveContextWithManySymbolsHalvesAndStillDecodes) {
    std::mt19937 random(11);
    std::vector<opS> ops;
    // 60 000 symbols over a wide, shifting alphabet in one context.
    for (int i = 0; i < 60000; ++i)
        ops.push_back(compressed(opE::cu32, 21, (random() % (1 + i / 100)) + (i / 20000) * 3000));
    const std::vector<uint8_t> bytes = writeAll(ops);
    expectReadsBack(ops, bytes);
    // Learned values cost far less than their plain 32 bits.
    EXPECT_LT(bytes.size(), ops.size() * 3);
}

TEST(BitStreamTest, PlainValuesAreLittleEndianBytesWithTheLowestBitFirst) {
    bitWriterC w;
    w.writeU32(0x11223344);
    w.writeU16(0x5566);
    w.writeString("ab");
    w.writeF32(1.0f);
    const std::vector<uint8_t> expected = {0x44, 0x33, 0x22, 0x11, 0x66, 0x55, 2, 0, 'a', 'b', 0, 0, 0x80, 0x3F};
    EXPECT_EQ(w.finish(), expected);

    // No-compression files store compressed values plainly too.
    bitWriterC plain;
    plain.setNoCompression(true);
    plain.writeCompressedU32(20, 0x01020304);
    plain.writeCompressedU8(staticContext(9), 7);
    EXPECT_EQ(plain.finish(), (std::vector<uint8_t>{4, 3, 2, 1, 7}));
}

TEST(BitStreamTest, CodedU8ValuesAreTheByteWithItsBitsReversed) {
    // After a static symbol the coder is no longer in its initial state,
    // so the following U8 is coded: bytes differ from the plain 0x01.
    bitWriterC w;
    w.writeCompressedU32(staticContext(3), 1);
    w.writeU8(0x01);
    const std::vector<uint8_t> bytes = w.finish();
    bitReaderC r(bytes, {});
    EXPECT_EQ(r.readCompressedU32(staticContext(3)), 1u);
    EXPECT_EQ(r.readU8(), 0x01);
}

TEST(BitStreamTest, ReadingPastTheBlockIsAFormatErrorNamingTheBlock) {
    const std::vector<opS> ops = mixedOps(5, 400);
    const std::vector<uint8_t> bytes = writeAll(ops);
    // Every truncation: values up to the cut read back or a formatError
    // stops the reader; never anything else.
    int failures = 0;
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        const std::vector<uint8_t> part(bytes.begin(), bytes.begin() + cut);
        bitReaderC r(part, {0xFFFFFF3B, 96});
        try {
            for (const opS& op : ops)
                readsBack(r, op);
        } catch (const formatError& e) {
            ++failures;
            EXPECT_EQ(e.place().offset, 96u);
            EXPECT_EQ(std::string(e.what()).rfind("block 0xFFFFFF3B (CLOD base mesh continuation) at offset 96: ", 0), 0u)
                << e.what();
        }
    }
    EXPECT_GT(failures, int(bytes.size()) * 9 / 10);

    bitReaderC empty({}, {});
    EXPECT_THROW(empty.readU8(), formatError);
    EXPECT_THROW(empty.readCompressedU32(kStaticFull + 1000), formatError);

    // Values of a static context of one value cost no bits at all; even
    // they end, after 64 per bit of the block (and a few to start with).
    bitReaderC free({}, {});
    int read = 0;
    EXPECT_THROW(
        for (; read < 100000; ++read) EXPECT_EQ(free.readCompressedU32(staticContext(1)), 0u), formatError);
    EXPECT_EQ(read, 4095);
}

TEST(BitStreamTest, RandomBytesDecodeOrFailCleanly) {
    std::mt19937 random(3);
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> bytes(random() % 64);
        for (uint8_t& b : bytes)
            b = uint8_t(random());
        bitReaderC r(bytes, {});
        try {
            for (int i = 0; i < 1000; ++i) {
                r.readCompressedU32(1 + i % 5);
                r.readCompressedU16(staticContext(1 + i % 300));
                r.readU8();
            }
            ADD_FAILURE() << "3000 values from " << bytes.size() << " bytes";
        } catch (const formatError&) {
        }
    }
}

TEST(BitStreamTest, WritersRefuseWhatNoReaderCouldRead) {
    bitWriterC w;
    EXPECT_THROW(w.writeCompressedU32(staticContext(4), 4), std::invalid_argument);
    EXPECT_THROW(w.writeString(std::string(0x10000, 'x')), std::invalid_argument);
}

}  // namespace
