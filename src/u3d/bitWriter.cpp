#include "u3d/bitWriter.h"

#include "u3d/bitSwap.h"
#include "u3d/contexts.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace u3d {

namespace {

// Every byte with its bits in reverse order: the stream stores the coder's
// bits (and plain values) from the lowest bit of each byte up.
const auto kReversedBytes = [] {
    std::array<uint8_t, 256> table{};
    for (unsigned b = 0; b < 256; ++b)
        table[b] = reverseBits8(static_cast<uint8_t>(b));
    return table;
}();

}  // namespace

// Narrows the interval `steps` times (narrow(interval, i) does step i) and
// after each step shifts out the leading bits that low and high share: the
// first of them, the pending underflow bits (each the opposite of it),
// then the rest; then widens the interval while it straddles the middle,
// counting new underflow bits.
//
// The state lives in locals for the run, so that it stays in registers,
// and the steps avoid data-dependent branches: coded values are about as
// random as their bits, and a branch on them would mispredict half the
// time. Bits collect highest first (as the coder settles them) and are
// turned around byte by byte on their way out.
template <typename Narrow>
void bitWriterC::codeRun(unsigned steps, Narrow narrow) {
    // Low and high in the upper half of 32 bits, high with ones below:
    // the bits that settle shift out at the top, and the masks that 16-bit
    // values would need fall away.
    uint32_t low = interval_.low << 16;
    uint32_t high = interval_.high << 16 | 0xFFFF;
    uint32_t underflow = interval_.underflow;
    uint64_t pending = pending_;
    unsigned pendingBits = pendingBits_;
    std::size_t used = used_;
    for (unsigned i = 0; i < steps; ++i) {
        codingIntervalS narrowed{low >> 16, high >> 16, underflow};
        narrow(narrowed, i);
        low = narrowed.low << 16;
        high = narrowed.high << 16 | 0xFFFF;
        // High has ones below, low zeros: they differ in the lower half.
        const unsigned shared = std::countl_zero(low ^ high);
        if (shared > 0) {
            const uint32_t settled = low >> (32 - shared);
            const uint32_t first = settled >> (shared - 1);
            const uint32_t rest = settled & ((1u << (shared - 1)) - 1);
            if (shared + underflow <= 32) {
                const uint32_t opposite = ((uint32_t(1) << underflow) - 1) & (first - 1);
                appendBits(pending, pendingBits, used, ((first << underflow | opposite) << (shared - 1)) | rest,
                           shared + underflow);
            } else {
                appendBits(pending, pendingBits, used, first, 1);
                for (uint32_t left = underflow; left > 0; left -= std::min(left, 32u)) {
                    const unsigned n = std::min(left, 32u);
                    appendBits(pending, pendingBits, used, first ? 0 : 0xFFFFFFFFu >> (32 - n), n);
                }
                appendBits(pending, pendingBits, used, rest, shared - 1);
            }
            underflow = 0;
            low <<= shared;
            high = ~(~high << shared);
        }
        // Low is below the middle and high above it now. Each bit from the
        // second on where low has a 1 and high a 0 is an underflow step;
        // all of them at once.
        const unsigned widen = std::countl_one((low & ~high & 0x7FFF0000u) << 1);
        low = (low << widen) & 0x7FFFFFFFu;
        high = (~(~high << widen) & 0x7FFFFFFFu) | 0x80000000u;
        underflow += widen;
    }
    interval_ = {low >> 16, high >> 16, underflow};
    pending_ = pending;
    pendingBits_ = pendingBits;
    used_ = used;
}

// Appends `n` (at most 32) bits, the first of them the highest, and moves
// every whole four bytes out, each byte turned around.
[[gnu::always_inline]] inline void bitWriterC::appendBits(uint64_t& pending, unsigned& pendingBits, std::size_t& used,
                                                          uint32_t value, unsigned n) {
    pending = pending << n | value;
    pendingBits += n;
    if (pendingBits >= 32) {
        if (used + 4 > bytes_.size())
            bytes_.resize(std::max<std::size_t>(64, 2 * bytes_.size()));
        pendingBits -= 32;
        const uint32_t word = static_cast<uint32_t>(pending >> pendingBits);
        uint8_t* out = bytes_.data() + used;
        for (int i = 0; i < 4; ++i)
            out[i] = kReversedBytes[(word >> (24 - 8 * i)) & 0xFF];
        used += 4;
    }
}

bitWriterC::bitWriterC() : histograms_(kStaticFull + 1) {}

// Plain bits: the value's bits from the lowest up, so each byte turned
// around and the first byte highest. On a byte boundary (always, in a
// block without coded values) the pending bytes go out and the value's
// bytes follow them as they are.
void bitWriterC::writeBits(uint32_t bits, unsigned count) {
    if ((pendingBits_ & 7) == 0 && (count & 7) == 0) {
        const unsigned waiting = pendingBits_ / 8;
        if (used_ + waiting + count / 8 > bytes_.size())
            bytes_.resize(std::max<std::size_t>({64, 2 * bytes_.size(), used_ + waiting + count / 8}));
        for (unsigned k = 1; k <= waiting; ++k)
            bytes_[used_++] = kReversedBytes[(pending_ >> (pendingBits_ - 8 * k)) & 0xFF];
        for (unsigned k = 0; k < count; k += 8)
            bytes_[used_++] = static_cast<uint8_t>(bits >> k);
        pending_ = 0;
        pendingBits_ = 0;
        return;
    }
    uint32_t turned = 0;
    for (unsigned k = 0; k < count; k += 8)
        turned |= uint32_t(kReversedBytes[(bits >> k) & 0xFF]) << (count - 8 - k);
    appendBits(pending_, pendingBits_, used_, turned, count);
}

void bitWriterC::settle() {
    codeRun(1, [](codingIntervalS&, unsigned) {});
}

void bitWriterC::writeCodedBytes(uint32_t value, unsigned count) {
    // The count is spelt out so that the narrowing divides by a constant.
    codeRun(count, [value](codingIntervalS& interval, unsigned i) {
        const uint32_t byte = kReversedBytes[(value >> (8 * i)) & 0xFF];
        interval.narrow(byte, byte + 1, 256);
    });
}

void bitWriterC::writeStaticSymbol(uint32_t symbol, uint32_t count) {
    codeRun(1, [symbol, count](codingIntervalS& interval, unsigned) { interval.narrow(symbol - 1, symbol, count); });
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
        writeBits(value, 8);
    else
        writeCodedBytes(value, 1);
}

void bitWriterC::writeU16(uint16_t value) {
    if (interval_.initial())
        writeBits(value, 16);
    else
        writeCodedBytes(value, 2);
}

// Plain bytes leave the interval as it is, so a value is either plain or
// coded as a whole.
void bitWriterC::writeU32(uint32_t value) {
    if (interval_.initial())
        writeBits(value, 32);
    else
        writeCodedBytes(value, 4);
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
    bytes_.resize(used_);
    // The last bits fill their byte from the top, the rest of it zeros.
    for (; pendingBits_ > 0; pendingBits_ -= std::min(pendingBits_, 8u)) {
        const uint64_t top = pendingBits_ >= 8 ? pending_ >> (pendingBits_ - 8) : pending_ << (8 - pendingBits_);
        bytes_.push_back(kReversedBytes[top & 0xFF]);
    }
    pending_ = 0;
    pendingBits_ = 0;
    used_ = 0;
    return std::move(bytes_);
}

}  // namespace u3d
