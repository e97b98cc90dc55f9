// The writer shifts settled bits out many at a time: runs where the
// interval keeps straddling its middle, so that more underflow bits pile
// up than fit one shift, must still read back.
#include "u3d/bitReader.h"
#include "u3d/bitWriter.h"
#include "u3d/codingInterval.h"
#include "u3d/contexts.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace u3d;

// A value whose part of the interval straddles the middle, with the count
// of its static context, found by narrowing a copy of the coder's interval
// as both ends of the stream do; each such value adds about 12 underflow
// bits.
std::pair<uint32_t, uint32_t> straddling(codingIntervalS& interval) {
    // A count whose parts of the interval do not just meet at the middle.
    for (uint32_t count = 12345; count < 12400; ++count)
        for (uint32_t v = 0; v < count; ++v) {
            codingIntervalS next = interval;
            next.narrow(v, v + 1, count);
            if (next.low < codingIntervalS::kHalf && next.high >= codingIntervalS::kHalf) {
                interval = next;
                uint32_t bits = 0;
                interval.shiftSettled(bits);
                interval.scaleUnderflow();
                return {v, count};
            }
        }
    ADD_FAILURE() << "no value straddles the middle";
    return {0, 1};
}

TEST(BitWriterUnderflowTest, LongRunsAroundTheMiddleReadBack) {
    constexpr uint32_t kCount = 12345;
    for (unsigned run : {1u, 2u, 3u, 6u, 20u}) {
        bitWriterC w;
        w.writeU32(0xDEADBEEF);
        codingIntervalS interval;
        std::vector<std::pair<uint32_t, uint32_t>> values;
        for (unsigned i = 0; i < run; ++i) {
            values.push_back(straddling(interval));
            w.writeCompressedU32(staticContext(values.back().second), values.back().first);
        }
        EXPECT_GE(interval.underflow, 10 * run);
        w.writeCompressedU32(staticContext(kCount), 0);
        w.writeU8(0x5A);
        w.writeCompressedU32(staticContext(kCount), kCount - 1);
        const std::vector<uint8_t> bytes = w.finish();
        bitReaderC r(bytes, {});
        EXPECT_EQ(r.readU32(), 0xDEADBEEFu);
        for (const auto& [v, count] : values)
            ASSERT_EQ(r.readCompressedU32(staticContext(count)), v) << "run " << run;
        EXPECT_EQ(r.readCompressedU32(staticContext(kCount)), 0u);
        EXPECT_EQ(r.readU8(), 0x5A);
        EXPECT_EQ(r.readCompressedU32(staticContext(kCount)), kCount - 1);
    }
}

TEST(BitWriterUnderflowTest, MixedPlainAndCodedValuesOfEveryWidthReadBack) {
    std::mt19937 rng(11);
    for (int round = 0; round < 50; ++round) {
        std::vector<std::pair<int, uint32_t>> ops;
        bitWriterC w;
        for (int i = 0; i < 300; ++i) {
            const int kind = int(rng() % 4);
            uint32_t v = rng();
            switch (kind) {
                case 0: w.writeU8(uint8_t(v)); break;
                case 1: w.writeU16(uint16_t(v)); break;
                case 2: w.writeU32(v); break;
                case 3: v %= 1000; w.writeCompressedU32(staticContext(1000), v); break;
            }
            ops.emplace_back(kind, v);
        }
        const std::vector<uint8_t> bytes = w.finish();
        bitReaderC r(bytes, {});
        for (const auto& [kind, v] : ops)
            switch (kind) {
                case 0: ASSERT_EQ(r.readU8(), uint8_t(v)); break;
                case 1: ASSERT_EQ(r.readU16(), uint16_t(v)); break;
                case 2: ASSERT_EQ(r.readU32(), v); break;
                case 3: ASSERT_EQ(r.readCompressedU32(staticContext(1000)), v); break;
            }
    }
}

}  // namespace
