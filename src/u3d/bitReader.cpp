#include "u3d/bitReader.h"

#include "u3d/bitSwap.h"
#include "u3d/contexts.h"

#include <algorithm>
#include <bit>

namespace u3d {

bitReaderC::bitReaderC(std::span<const uint8_t> data, blockPlaceS place)
    : data_(data),
      sizeBits_(uint64_t(data.size()) * 8),
      symbolsLeft_(64 * sizeBits_ + 4096),
      place_(place) {}

bitReaderC::bitReaderC(byteSourceC& source, uint64_t offset, uint64_t size, std::size_t window, blockPlaceS place)
    : sizeBits_(size * 8),
      symbolsLeft_(64 * sizeBits_ + 4096),
      place_(place) {
    source_ = &source;
    sourceOffset_ = offset;
    windowBytes_ = std::max(window, kMinWindow);
    slide();
}

void bitReaderC::slide() {
    const uint64_t start = position_ >> 3;
    const uint64_t blockBytes = sizeBits_ / 8;
    const uint64_t lastBit = position_ + interval_.underflow;
    const uint64_t end = std::min<uint64_t>(blockBytes, std::max<uint64_t>(start + windowBytes_, (lastBit >> 3) + 17));
    data_ = source_->bytes(sourceOffset_ + start, static_cast<std::size_t>(end - start));
    windowStart_ = start;
    slideAtBit_ = end < blockBytes ? (end - 16) * 8 : UINT64_MAX;
    if (!reversed_.empty())
        reverseWindow();
}

void bitReaderC::fail(const std::string& fault) const { throw formatError(fault, place_); }

void bitReaderC::failTooManyValues() const {
    fail("more coded values than the block's " + std::to_string(sizeBits_ / 8) + " bytes can hold");
}

void bitReaderC::startCoding() {
    reverseWindow();
    histograms_.resize(kStaticFull + 1);
}

void bitReaderC::reverseWindow() {
    reversed_.assign(data_.size() + 8, 0);
    for (std::size_t i = 0; i < data_.size(); ++i)
        reversed_[i] = reverseBits8(data_[i]);
}

// The value v in 1 .. count whose part of the interval holds the code:
// the t = v - 1 with floor(range * t / count) <= offset, largest.
uint32_t bitReaderC::readStaticSymbol(uint32_t count) {
    const uint32_t d = offset();
    const uint32_t target = (count * (d + 1) - 1) / interval_.range();
    interval_.narrow(target, target + 1, count);
    settle();
    return target + 1;
}

uint32_t bitReaderC::readLargeAdaptiveSymbol(histogramC& histogram, uint32_t d) {
    const uint32_t total = histogram.total();
    const reciprocalS& t = kReciprocals[total];
    const uint32_t r = interval_.range();
    uint32_t below = 0;
    const uint32_t symbol = histogram.find((total * (d + 1) - 1) / r, below);
    interval_.high = interval_.low - 1 + codingIntervalS::boundary(r, below + histogram.frequency(symbol), t);
    interval_.low += codingIntervalS::boundary(r, below, t);
    histogram.add(symbol);
    settle();
    return symbol;
}

void bitReaderC::skipCompressedU32(uint32_t context, uint64_t count) {
    if (noCompression_ || context - 1 >= kStaticFull) {
        for (; count > 0; --count)
            readUnusual(context, &bitReaderC::readU32);
        return;
    }
    for (; count > 0; --count)
        if (readAdaptiveSymbol(context) == 0)
            histograms_[context].add(readU32() + 1);
}

uint8_t bitReaderC::readU8() {
    if (interval_.initial()) {
        if (position_ + 8 > sizeBits_)
            fail("data runs past the end of the block");
        if (position_ >= slideAtBit_) [[unlikely]]
            slide();
        // Plain bits, the first one lowest, from where the last value ended.
        const uint64_t byte = (position_ >> 3) - windowStart_;
        const unsigned shift = position_ & 7;
        uint32_t value = data_[byte] >> shift;
        if (shift != 0)
            value |= uint32_t(data_[byte + 1]) << (8 - shift);
        position_ += 8;
        return static_cast<uint8_t>(value);
    }
    // Coded values are the byte with its bits in reverse order.
    return reverseBits8(static_cast<uint8_t>(readStaticSymbol(256) - 1));
}

uint16_t bitReaderC::readU16() {
    const uint16_t low = readU8();
    return static_cast<uint16_t>(low | readU8() << 8);
}

uint32_t bitReaderC::readU32() {
    const uint32_t low = readU16();
    return low | uint32_t(readU16()) << 16;
}

uint64_t bitReaderC::readU64() {
    const uint64_t low = readU32();
    return low | uint64_t(readU32()) << 32;
}

float bitReaderC::readF32() { return std::bit_cast<float>(readU32()); }

double bitReaderC::readF64() { return std::bit_cast<double>(readU64()); }

std::string bitReaderC::readString() {
    const uint16_t length = readU16();
    std::string text;
    text.reserve(length);
    for (uint16_t i = 0; i < length; ++i)
        text.push_back(static_cast<char>(readU8()));
    return text;
}

template <typename T>
T bitReaderC::readUnusual(uint32_t context, T (bitReaderC::*plain)()) {
    if (noCompression_ || context == 0 || context >= kMaxRange)
        return (this->*plain)();
    return static_cast<T>(readStaticSymbol(context - kStaticFull) - 1);
}

template uint8_t bitReaderC::readUnusual(uint32_t, uint8_t (bitReaderC::*)());
template uint16_t bitReaderC::readUnusual(uint32_t, uint16_t (bitReaderC::*)());
template uint32_t bitReaderC::readUnusual(uint32_t, uint32_t (bitReaderC::*)());

}  // namespace u3d
