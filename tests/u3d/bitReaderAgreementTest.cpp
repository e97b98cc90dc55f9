// The reader's decoder against the plain one (plainDecoder.h) on streams of
// every sort: what a writer wrote, the same with bits flipped, and random
// bytes. Each read must give the same value at the same bit position, and a
// fault must stop both at the same read.
#include "u3d/bitReader.h"
#include "u3d/bitWriter.h"
#include "u3d/contexts.h"

#include "plainDecoder.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

using namespace u3d;

// The sanitizer builds run these ten times slower: a quarter of the rounds
// there, every round elsewhere.
#if U3DPDF_SANITIZE
constexpr int kRoundShare = 4;
#else
constexpr int kRoundShare = 1;
#endif

// A read: plain (context 0 through readU8/16/32, `plain` set) or compressed
// with `context`, of 1, 2 or 4 bytes.
struct readS {
    uint32_t context = 0;
    int bytes = 1;
    bool plain = false;
};

// Runs of reads, as blocks have them (the normals of a position are a run
// of one context): a few adaptive contexts, one of them taking half of
// the reads, static ones from one value (no
// bits at all) to the largest, the adaptive context kStaticFull, contexts
// that store plainly, and plain reads.
std::vector<readS> randomReads(std::mt19937& random, int count) {
    const uint32_t staticCounts[] = {1, 2, 3, 5, 16, 100, 256, 1000, 0x3FFE};
    std::vector<readS> reads;
    while (int(reads.size()) < count) {
        readS read;
        read.bytes = 1 << (random() % 3);
        switch (random() % 8) {
            case 0: read.plain = true; break;
            case 1: read.context = staticContext(staticCounts[random() % 9]); break;
            case 2: read.context = random() % 2 ? kStaticFull : (random() % 2 ? 0u : kMaxRange); break;
            // Context 1 takes enough values to halve its histogram.
            default: read.context = random() % 4 ? 1 : 2 + random() % 5; break;
        }
        for (uint32_t run = 1 + random() % 40; run > 0; --run)
            reads.push_back(read);
    }
    return reads;
}

// Values a writer codes with the reads' contexts: mostly small and
// skewed (well predicted), some escapes and large ones.
std::vector<uint8_t> written(std::mt19937& random, const std::vector<readS>& reads) {
    std::geometric_distribution<uint32_t> skewed(0.3);
    bitWriterC w;
    for (const readS& read : reads) {
        const uint32_t mask = read.bytes == 4 ? 0xFFFFFFFF : (1u << (8 * read.bytes)) - 1;
        uint32_t value = (random() % 20 == 0 ? uint32_t(random()) : skewed(random)) & mask;
        if (read.context > kStaticFull && read.context < kMaxRange)
            value %= read.context - kStaticFull;
        if (read.plain)
            read.bytes == 1 ? w.writeU8(uint8_t(value)) : read.bytes == 2 ? w.writeU16(uint16_t(value)) : w.writeU32(value);
        else if (read.bytes == 1)
            w.writeCompressedU8(read.context, uint8_t(value));
        else if (read.bytes == 2)
            w.writeCompressedU16(read.context, uint16_t(value));
        else
            w.writeCompressedU32(read.context, value);
    }
    return w.finish();
}

std::optional<uint32_t> readWith(bitReaderC& r, const readS& read) {
    try {
        if (read.plain)
            return read.bytes == 1 ? r.readU8() : read.bytes == 2 ? r.readU16() : r.readU32();
        return read.bytes == 1 ? r.readCompressedU8(read.context)
               : read.bytes == 2 ? r.readCompressedU16(read.context)
                                 : r.readCompressedU32(read.context);
    } catch (const formatError&) {
        return std::nullopt;
    }
}

std::optional<uint32_t> readWith(u3dtest::plainDecoderC& p, const readS& read) {
    try {
        if (read.plain)
            return read.bytes == 1 ? p.readU8() : read.bytes == 2 ? p.readU16() : p.readU32();
        return p.readCompressed(read.context, read.bytes);
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
}

// Returns how many reads succeeded.
int expectAgreement(const std::vector<uint8_t>& bytes, const std::vector<readS>& reads) {
    bitReaderC r(bytes, {});
    u3dtest::plainDecoderC p(bytes);
    for (std::size_t i = 0; i < reads.size(); ++i) {
        const std::optional<uint32_t> fast = readWith(r, reads[i]);
        const std::optional<uint32_t> plain = readWith(p, reads[i]);
        EXPECT_EQ(fast, plain) << "read " << i << " of " << bytes.size() << " bytes, context " << reads[i].context;
        if (!fast || !plain || ::testing::Test::HasFailure())
            return int(i);
        EXPECT_EQ(r.bitsRead(), p.bitsRead()) << "read " << i;
    }
    return int(reads.size());
}

// Rounds of a stream a writer wrote (all of it must agree), each then with
// one, two, three and four bits flipped; returns how many reads of the
// flipped streams agreed.
using checkT = int (*)(const std::vector<uint8_t>&, const std::vector<readS>&);
int writtenAndFlipped(uint32_t seed, int rounds, checkT check) {
    std::mt19937 random(seed);
    int flippedReads = 0;
    for (int round = 0; round < rounds && !::testing::Test::HasFailure(); ++round) {
        SCOPED_TRACE(round);
        const std::vector<readS> reads = randomReads(random, 20000);
        std::vector<uint8_t> bytes = written(random, reads);
        EXPECT_EQ(check(bytes, reads), int(reads.size()));
        for (int flip = 0; flip < 4 && !bytes.empty(); ++flip) {
            bytes[random() % bytes.size()] ^= uint8_t(1 << (random() % 8));
            flippedReads += check(bytes, reads);
        }
    }
    return flippedReads;
}

TEST(BitReaderAgreementTest, WrittenStreamsAndTheSameWithBitsFlipped) {
    // Flipped bits mostly decode on, to other values, before a fault.
    const int rounds = 12 / kRoundShare;
    EXPECT_GT(writtenAndFlipped(17, rounds, expectAgreement), rounds * 4 * 1000);
}

// The same streams with every run of compressed U32 reads dropped at once
// (skipCompressedU32, as a mesh drops its normal indices): the reader ends
// each run where the plain decoder does after reading it value by value,
// and faults within the run when the plain decoder does.
int expectAgreementSkipping(const std::vector<uint8_t>& bytes, const std::vector<readS>& reads) {
    bitReaderC r(bytes, {});
    u3dtest::plainDecoderC p(bytes);
    std::size_t i = 0;
    while (i < reads.size()) {
        const readS& read = reads[i];
        std::size_t end = i + 1;
        while (end < reads.size() && reads[end].context == read.context && reads[end].bytes == read.bytes &&
               reads[end].plain == read.plain)
            ++end;
        if (read.plain || read.bytes != 4) {
            const std::optional<uint32_t> fast = readWith(r, read);
            EXPECT_EQ(fast, readWith(p, read)) << "read " << i;
            if (!fast || ::testing::Test::HasFailure())
                return int(i);
            ++i;
            continue;
        }
        bool fastFault = false;
        try {
            r.skipCompressedU32(read.context, end - i);
        } catch (const formatError&) {
            fastFault = true;
        }
        bool plainFault = false;
        for (std::size_t k = i; k < end && !plainFault; ++k)
            plainFault = !readWith(p, read);
        EXPECT_EQ(fastFault, plainFault) << "run from read " << i << ", context " << read.context;
        if (fastFault || plainFault || ::testing::Test::HasFailure())
            return int(i);
        EXPECT_EQ(r.bitsRead(), p.bitsRead()) << "after the run from read " << i;
        i = end;
    }
    return int(reads.size());
}

TEST(BitReaderAgreementTest, RunsDroppedAtOnce) {
    const int rounds = 8 / kRoundShare;
    EXPECT_GT(writtenAndFlipped(23, rounds, expectAgreementSkipping), rounds * 4 * 1000);
    std::mt19937 random(31);
    for (int round = 0; round < 40 / kRoundShare && !HasFailure(); ++round) {
        std::vector<uint8_t> noise(random() % 3000);
        for (uint8_t& b : noise)
            b = uint8_t(random());
        expectAgreementSkipping(noise, randomReads(random, 5000));
    }
}

TEST(BitReaderAgreementTest, RandomBytes) {
    std::mt19937 random(29);
    const int rounds = 300 / kRoundShare;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(round);
        std::vector<uint8_t> bytes(random() % (round < rounds / 3 ? 16 : 3000));
        for (uint8_t& b : bytes)
            b = uint8_t(random());
        expectAgreement(bytes, randomReads(random, 5000));
        if (HasFailure())
            return;
    }
}

// Values of a static context of one value cost no bits: only the bound of
// 64 values per bit of the block stops them, at the same read for both.
TEST(BitReaderAgreementTest, ValuesThatCostNoBits) {
    std::vector<readS> reads(20000, readS{staticContext(1), 4, false});
    for (std::size_t size : {0, 1, 9}) {
        std::vector<uint8_t> bytes(size, 0x5A);
        EXPECT_EQ(expectAgreement(bytes, reads), int(64 * 8 * size + 4095));
    }
}

}  // namespace
