#include "u3d/bitWriter.h"

#include "u3d/bitSwap.h"
#include "u3d/contexts.h"

#include <bit>
#include <stdexcept>

namespace u3d {

bitWriterC::bitWriterC() : histograms_(kStaticFull + 1) {}

void bitWriterC::writeBit(uint32_t bit) {
    if ((bitCount_ & 7) == 0)
        bytes_.push_back(0);
    bytes_.back() |= static_cast<uint8_t>((bit & 1) << (bitCount_ & 7));
    ++bitCount_;
}

void bitWriterC::writePlainBits(uint32_t bits, unsigned count) {
    for (unsigned i = 0; i < count; ++i)
        writeBit(bits >> i);
}

void bitWriterC::settle() {
    uint32_t bits = 0;
    const unsigned settled = interval_.shiftSettled(bits);
    for (unsigned i = 0; i < settled; ++i) {
        const uint32_t bit = (bits >> (settled - 1 - i)) & 1;
        writeBit(bit);
        // The pending underflow bits follow the first settled bit, each
        // the opposite of it.
        for (; interval_.underflow > 0; --interval_.underflow)
            writeBit(bit ^ 1);
    }
    interval_.scaleUnderflow();
}

void bitWriterC::writeStaticSymbol(uint32_t symbol, uint32_t count) {
    interval_.narrow(symbol - 1, symbol, count);
    settle();
}

bool bitWriterC::writeAdaptiveSymbol(uint32_t context, uint32_t symbol) {
    std::unique_ptr<histogramC>& histogram = histograms_[context];
    if (!histogram)
        histogram = std::make_unique<histogramC>();
    if (histogram->frequency(symbol) == 0)
        symbol = 0;
    const uint32_t below = histogram->cumulative(symbol);
    interval_.narrow(below, below + histogram->frequency(symbol), histogram->total());
    histogram->add(symbol);
    settle();
    return symbol == 0;
}

void bitWriterC::writeU8(uint8_t value) {
    if (interval_.initial())
        writePlainBits(value, 8);
    else
        writeStaticSymbol(uint32_t(reverseBits8(value)) + 1, 256);
}

void bitWriterC::writeU16(uint16_t value) {
    writeU8(static_cast<uint8_t>(value));
    writeU8(static_cast<uint8_t>(value >> 8));
}

void bitWriterC::writeU32(uint32_t value) {
    writeU16(static_cast<uint16_t>(value));
    writeU16(static_cast<uint16_t>(value >> 16));
}

void bitWriterC::writeU64(uint64_t value) {
    writeU32(static_cast<uint32_t>(value));
    writeU32(static_cast<uint32_t>(value >> 32));
}

void bitWriterC::writeF32(float value) { writeU32(std::bit_cast<uint32_t>(value)); }

void bitWriterC::writeF64(double value) { writeU64(std::bit_cast<uint64_t>(value)); }

void bitWriterC::writeString(const std::string& text) {
    if (text.size() > 0xFFFF)
        throw std::invalid_argument("a U3D string holds at most 65535 bytes");
    writeU16(static_cast<uint16_t>(text.size()));
    for (char c : text)
        writeU8(static_cast<uint8_t>(c));
}

template <typename T>
void bitWriterC::writeCompressed(uint32_t context, T value, void (bitWriterC::*plain)(T)) {
    if (noCompression_) {
        (this->*plain)(value);
        return;
    }
    compressed_ = true;
    if (context == 0 || context >= kMaxRange) {
        (this->*plain)(value);
    } else if (context > kStaticFull) {
        if (uint32_t(value) >= context - kStaticFull)
            throw std::invalid_argument("value " + std::to_string(uint32_t(value)) + " is out of its static context's range");
        writeStaticSymbol(uint32_t(value) + 1, context - kStaticFull);
    } else if (writeAdaptiveSymbol(context, uint32_t(value) + 1)) {
        (this->*plain)(value);
        histograms_[context]->add(uint32_t(value) + 1);
    }
}

void bitWriterC::writeCompressedU8(uint32_t context, uint8_t value) { writeCompressed(context, value, &bitWriterC::writeU8); }
void bitWriterC::writeCompressedU16(uint32_t context, uint16_t value) { writeCompressed(context, value, &bitWriterC::writeU16); }
void bitWriterC::writeCompressedU32(uint32_t context, uint32_t value) { writeCompressed(context, value, &bitWriterC::writeU32); }

std::vector<uint8_t> bitWriterC::finish() {
    if (compressed_) {
        writeU32(0);
        compressed_ = false;
    }
    return std::move(bytes_);
}

}  // namespace u3d
