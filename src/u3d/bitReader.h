// Reading the data of one U3D block as the format's bit encoding defines it.
#pragma once

#include "u3d/codingInterval.h"
#include "u3d/formatError.h"
#include "u3d/histogram.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace u3d {

// Values come from one stream of bits, read from the lowest bit of each
// byte up. While nothing compressed has been read, U8 values are 8 plain
// bits (so a block that holds only uncompressed values reads like plain
// little-endian bytes); after that every value, compressed or not, goes
// through the arithmetic decoder, as the format requires.
//
// The reader never reads outside its bytes: the decoder may look ahead
// past the end (those bits read as 0, as the format's writers pad with
// zeros), but a value whose bits run past the end, or a code that no
// writer could have produced, is a formatError naming the block.
class bitReaderC {
public:
    bitReaderC(std::span<const uint8_t> data, blockPlaceS place);

    // The file's no-compression profile flag: compressed values are then
    // stored as plain ones.
    void setNoCompression(bool on) { noCompression_ = on; }

    uint8_t readU8();
    uint16_t readU16();
    uint32_t readU32();
    uint64_t readU64();
    int16_t readI16() { return static_cast<int16_t>(readU16()); }
    int32_t readI32() { return static_cast<int32_t>(readU32()); }
    float readF32();
    double readF64();
    // A U16 byte count, then the bytes.
    std::string readString();

    uint8_t readCompressedU8(uint32_t context);
    uint16_t readCompressedU16(uint32_t context);
    uint32_t readCompressedU32(uint32_t context);

    // Bits consumed so far, and the bits of the block not consumed yet.
    uint64_t bitsRead() const { return position_; }
    uint64_t bitsLeft() const { return sizeBits_ > position_ ? sizeBits_ - position_ : 0; }

    // A formatError about this block.
    [[noreturn]] void fail(const std::string& fault) const;

private:
    // The symbol of the next coded value: 1 .. n for a static context of n
    // values, 0 (escape) or value + 1 for an adaptive one.
    uint32_t readSymbol(uint32_t context);
    uint32_t readStaticSymbol(uint32_t count);
    uint32_t readAdaptiveSymbol(uint32_t context);
    // The 16-bit code the decoder compares with its interval: the bit at
    // the read position, then the 15 bits after the pending underflow bits.
    uint32_t code() const;
    // Consumes the bits the last narrowing settled.
    void settle();
    uint32_t peekBits(uint64_t position, unsigned count) const;
    template <typename T>
    T readCompressed(uint32_t context, T (bitReaderC::*plain)());

    std::span<const uint8_t> data_;
    uint64_t sizeBits_;
    uint64_t position_ = 0;
    codingIntervalS interval_;
    bool noCompression_ = false;
    std::vector<std::unique_ptr<histogramC>> histograms_;
    blockPlaceS place_;
};

}  // namespace u3d
