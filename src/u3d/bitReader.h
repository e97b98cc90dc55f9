// Reading the data of one U3D block as the format's bit encoding defines it.
#pragma once

#include "u3d/blockLayout.h"
#include "u3d/byteSource.h"
#include "u3d/codingInterval.h"
#include "u3d/contexts.h"
#include "u3d/formatError.h"
#include "u3d/histogram.h"

#include <bit>
#include <cstdint>
#include <cstring>
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
    // The `size` bytes at `offset` of `source`, taken `window` bytes at a
    // time as the reading advances (window at least kMinWindow): the block
    // of a large base mesh is never held whole, nor its reversed copy.
    bitReaderC(byteSourceC& source, uint64_t offset, uint64_t size, std::size_t window, blockPlaceS place);
    static constexpr std::size_t kMinWindow = 64;

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

    uint8_t readCompressedU8(uint32_t context) { return readCompressed(context, &bitReaderC::readU8); }
    uint16_t readCompressedU16(uint32_t context) { return readCompressed(context, &bitReaderC::readU16); }
    uint32_t readCompressedU32(uint32_t context) { return readCompressed(context, &bitReaderC::readU32); }
    // Reads `count` compressed U32 values of one context and drops them: a
    // mesh's normal indices, several per face, which take most of the
    // values of a progressive mesh and none of which the scene keeps. One
    // loop, so that the coder's state stays at hand from value to value.
    void skipCompressedU32(uint32_t context, uint64_t count);

    // Bits consumed so far, and the bits of the block not consumed yet.
    uint64_t bitsRead() const { return position_; }
    uint64_t bitsLeft() const { return sizeBits_ > position_ ? sizeBits_ - position_ : 0; }

    // A formatError about this block.
    [[noreturn]] void fail(const std::string& fault) const;

private:
    // The compressed read of a value: its symbol, and for an escape the
    // plain value that follows. The common case (an adaptive context with
    // few symbols) is inline, so that a run of reads keeps the coder's
    // state at hand; the rest is out of line.
    template <typename T>
    T readCompressed(uint32_t context, T (bitReaderC::*plain)()) {
        if (!noCompression_ && context - 1 < kStaticFull) {
            const uint32_t symbol = readAdaptiveSymbol(context);
            if (symbol != 0)
                return static_cast<T>(symbol - 1);
            const T value = (this->*plain)();
            histograms_[context].add(uint32_t(value) + 1);
            return value;
        }
        return readUnusual(context, plain);
    }
    // Plain values (no compression, context 0 or past kMaxRange) and static
    // contexts.
    template <typename T>
    T readUnusual(uint32_t context, T (bitReaderC::*plain)());

    // The symbol of the next coded value: 1 .. n for a static context of n
    // values, 0 (escape) or value + 1 for an adaptive one.
    uint32_t readStaticSymbol(uint32_t count);
    uint32_t readAdaptiveSymbol(uint32_t context) {
        const uint32_t d = offset();
        histogramC& histogram = histograms_[context];
        if (!histogram.small()) [[unlikely]]
            return readLargeAdaptiveSymbol(histogram, d);
        // Walk the few symbols to the one whose part of the interval starts
        // at or before the code's offset and ends after it: no division.
        // (floor(range * cumulative / total) <= offset is the same test as
        // the format's cumulative <= (total * (offset + 1) - 1) / range.)
        const reciprocalS& total = kReciprocals[histogram.total()];
        const uint32_t r = interval_.range();
        const uint16_t* counts = histogram.counts();
        uint32_t symbol = 0;
        uint32_t above = counts[0];
        uint32_t begin = 0;
        uint32_t end = codingIntervalS::boundary(r, above, total);
        while (end <= d) {
            begin = end;
            above += counts[++symbol];
            end = codingIntervalS::boundary(r, above, total);
        }
        interval_.high = interval_.low - 1 + end;
        interval_.low += begin;
        histogram.add(symbol);
        settle();
        return symbol;
    }
    uint32_t readLargeAdaptiveSymbol(histogramC& histogram, uint32_t offset);

    // The offset from the interval's low end of the 16-bit code the decoder
    // compares with its interval: the bit at the read position, then the 15
    // bits after the pending underflow bits. A formatError when the code
    // lies outside the interval (no writer puts it there).
    uint32_t offset() {
        if (reversed_.empty()) [[unlikely]]
            startCoding();
        if (position_ + interval_.underflow >= slideAtBit_) [[unlikely]]
            slide();
        uint32_t c = 0;
        if (interval_.underflow == 0) [[likely]]
            c = static_cast<uint32_t>(window(position_) >> 48);
        else
            c = static_cast<uint32_t>(window(position_) >> 63) << 15 |
                static_cast<uint32_t>(window(position_ + 1 + interval_.underflow) >> 49);
        if (c < interval_.low || c > interval_.high) [[unlikely]]
            fail("compressed data that does not decode");
        return c - interval_.low;
    }
    // The 64 bits from `bit` on, the first one highest. The read position
    // and the pending underflow bits never pass the end of the data (settle
    // sees to it), so the 8 bytes loaded lie within the padding; nor do they
    // come within 16 bytes of a window's end (slide sees to it).
    uint64_t window(uint64_t bit) const {
        uint64_t value;
        std::memcpy(&value, reversed_.data() + ((bit >> 3) - windowStart_), sizeof value);
        if constexpr (std::endian::native == std::endian::little)
            value = __builtin_bswap64(value);
        return value << (bit & 7);
    }
    // On the first coded value: the reversed data and a histogram per
    // adaptive context.
    void startCoding();
    void reverseWindow();
    // Moves the window to start at the read position and to reach at least
    // 16 bytes past the pending underflow bits.
    void slide();
    [[noreturn, gnu::cold]] void failTooManyValues() const;


    // Consumes the bits the last narrowing settled. Pending underflow bits
    // are bits the writer has written too, once the next bit settles: a
    // block too short for them is cut short.
    void settle() {
        uint32_t bits = 0;
        uint64_t advance = interval_.shiftSettled(bits);
        if (advance > 0) {
            advance += interval_.underflow;
            interval_.underflow = 0;
        }
        interval_.scaleUnderflow();
        position_ += advance;
        if (position_ + interval_.underflow > sizeBits_) [[unlikely]]
            fail("compressed data runs past the end of the block");
        if (--symbolsLeft_ == 0) [[unlikely]]
            failTooManyValues();
    }

    // The block's bytes [windowStart_, windowStart_ + data_.size()): all of
    // them, or the window that slide() moves along the block.
    std::span<const uint8_t> data_;
    uint64_t windowStart_ = 0;
    // While the read position plus the pending underflow bits stays below
    // this bit, every read stays 16 bytes short of the window's end. Never
    // reached when the window holds the rest of the block.
    uint64_t slideAtBit_ = UINT64_MAX;
    byteSourceC* source_ = nullptr;
    uint64_t sourceOffset_ = 0;
    std::size_t windowBytes_ = 0;
    uint64_t sizeBits_;
    uint64_t position_ = 0;
    codingIntervalS interval_;
    // A well predicted value costs a tiny fraction of a bit, and so a block
    // could make a decoder code on and on while consuming next to nothing:
    // a block gets at most 64 coded values per bit (files in the field
    // code about one), which bounds the time any input can take.
    uint64_t symbolsLeft_;
    bool noCompression_ = false;
    // The window's bytes with the bits of each in reverse order and 8 zero
    // bytes after them, made on the first coded value: the code is read highest bit
    // first, and so becomes one big-endian load and a shift.
    std::vector<uint8_t> reversed_;
    // Per adaptive context (1 .. kStaticFull), from the first coded value on.
    std::vector<histogramC> histograms_;
    blockPlaceS place_;
};

// The reader of a block's data, whether held or streamed.
inline bitReaderC dataReader(const blockS& block) {
    if (block.source != nullptr)
        return bitReaderC(*block.source, block.offset + kBlockHeaderSize, block.header.dataSize, block.window,
                          block.place());
    return bitReaderC(block.data, block.place());
}

}  // namespace u3d
