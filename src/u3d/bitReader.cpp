#include "u3d/bitReader.h"

#include "u3d/bitSwap.h"
#include "u3d/contexts.h"

#include <bit>
#include <cstring>

namespace u3d {

bitReaderC::bitReaderC(std::span<const uint8_t> data, blockPlaceS place)
    : data_(data), sizeBits_(uint64_t(data.size()) * 8), place_(place) {}

void bitReaderC::fail(const std::string& fault) const { throw formatError(fault, place_); }

// Up to 25 bits from `position` on, the first one lowest; bits past the end
// of the data are 0.
uint32_t bitReaderC::peekBits(uint64_t position, unsigned count) const {
    const uint64_t byte = position >> 3;
    uint32_t window = 0;
    if (byte + 4 <= data_.size()) {
        const uint8_t* p = data_.data() + byte;
        window = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    } else {
        for (uint64_t i = 0; i < 4 && byte + i < data_.size(); ++i)
            window |= uint32_t(data_[byte + i]) << (8 * i);
    }
    return (window >> (position & 7)) & ((1u << count) - 1);
}

uint32_t bitReaderC::code() const {
    const uint32_t first = peekBits(position_, 1);
    const uint64_t rest = position_ + 1 + interval_.underflow;
    return first << 15 | reverseBits15(peekBits(rest, 15));
}

void bitReaderC::settle() {
    uint32_t bits = 0;
    uint64_t advance = interval_.shiftSettled(bits);
    if (advance > 0) {
        advance += interval_.underflow;
        interval_.underflow = 0;
    }
    interval_.scaleUnderflow();
    position_ += advance;
    // Pending underflow bits are bits the writer has written too, once the
    // next bit settles: a block too short for them is cut short. Counting
    // them also stops a decoder from coding on forever without consuming.
    if (position_ + interval_.underflow > sizeBits_)
        fail("compressed data runs past the end of the block");
}

uint32_t bitReaderC::readStaticSymbol(uint32_t count) {
    const uint32_t c = code();
    if (c < interval_.low || c > interval_.high)
        fail("compressed data that does not decode");
    const uint32_t target = (count * (1 + c - interval_.low) - 1) / interval_.range();
    interval_.narrow(target, 1, count);
    settle();
    return target + 1;
}

uint32_t bitReaderC::readAdaptiveSymbol(uint32_t context) {
    if (histograms_.empty())
        histograms_.resize(kStaticFull + 1);
    std::unique_ptr<histogramC>& histogram = histograms_[context];
    if (!histogram)
        histogram = std::make_unique<histogramC>();
    const uint32_t c = code();
    if (c < interval_.low || c > interval_.high)
        fail("compressed data that does not decode");
    const uint32_t total = histogram->total();
    const uint32_t target = (total * (1 + c - interval_.low) - 1) / interval_.range();
    uint32_t below = 0;
    const uint32_t symbol = histogram->find(target, below);
    interval_.narrow(below, histogram->frequency(symbol), total);
    histogram->add(symbol);
    settle();
    return symbol;
}

uint32_t bitReaderC::readSymbol(uint32_t context) {
    return context > kStaticFull ? readStaticSymbol(context - kStaticFull) : readAdaptiveSymbol(context);
}

uint8_t bitReaderC::readU8() {
    if (interval_.initial()) {
        if (position_ + 8 > sizeBits_)
            fail("data runs past the end of the block");
        const uint32_t value = peekBits(position_, 8);
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

// A value not seen yet in an adaptive context comes as the escape, then
// plainly; from then on the context knows it. Values too large for a
// histogram are never counted and always escape.
template <typename T>
T bitReaderC::readCompressed(uint32_t context, T (bitReaderC::*plain)()) {
    if (noCompression_ || context == 0 || context >= kMaxRange)
        return (this->*plain)();
    const uint32_t symbol = readSymbol(context);
    if (symbol != 0)
        return static_cast<T>(symbol - 1);
    const T value = (this->*plain)();
    histograms_[context]->add(uint32_t(value) + 1);
    return value;
}

uint8_t bitReaderC::readCompressedU8(uint32_t context) { return readCompressed(context, &bitReaderC::readU8); }
uint16_t bitReaderC::readCompressedU16(uint32_t context) { return readCompressed(context, &bitReaderC::readU16); }
uint32_t bitReaderC::readCompressedU32(uint32_t context) { return readCompressed(context, &bitReaderC::readU32); }

}  // namespace u3d
