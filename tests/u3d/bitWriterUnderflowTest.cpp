// The writer shifts settled bits out many at a time: runs where the
// interval keeps straddling its middle, so that more underflow bits pile
// up than fit one shift, must still read back.
#include "u3d/bitReader.h"
#include "u3d/bitWriter.h"
#include "u3d/contexts.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace u3d;

TEST(BitWriterUnderflow, LongRunsAroundTheMiddleReadBack) {
    // The middle of three equally likely values narrows to the middle of
    // the interval every time: about 1.6 underflow bits per value.
    for (unsigned run : {1u, 20u, 21u, 40u, 200u}) {
        bitWriterC w;
        w.writeU32(0xDEADBEEF);
        for (unsigned i = 0; i < run; ++i)
            w.writeCompressedU32(staticContext(3), 1);
        w.writeCompressedU32(staticContext(3), 0);
        w.writeU8(0x5A);
        w.writeCompressedU32(staticContext(3), 2);
        const std::vector<uint8_t> bytes = w.finish();
        bitReaderC r(bytes, {});
        EXPECT_EQ(r.readU32(), 0xDEADBEEFu);
        for (unsigned i = 0; i < run; ++i)
            ASSERT_EQ(r.readCompressedU32(staticContext(3)), 1u) << "run " << run << " at " << i;
        EXPECT_EQ(r.readCompressedU32(staticContext(3)), 0u);
        EXPECT_EQ(r.readU8(), 0x5A);
        EXPECT_EQ(r.readCompressedU32(staticContext(3)), 2u);
    }
}

TEST(BitWriterUnderflow, MixedPlainAndCodedValuesOfEveryWidthReadBack) {
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
