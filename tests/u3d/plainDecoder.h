// The U3D bit encoding's decoding written as plainly as it is described:
// arrays with linear scans for the adaptive models, a division per
// boundary, renormalisation one bit at a time and the code read bit by bit
// from the block. Slow on purpose: the reader's decoder, which is written
// for speed, must agree with it on every input, valid or not.
#pragma once

#include "u3d/contexts.h"
#include "u3d/histogram.h"

#include <cstdint>
#include <map>
#include <stdexcept>
#include <vector>

namespace u3dtest {

// The adaptive model of one context: symbol 0 (the escape) starts at 1,
// symbols above kMaxSymbol are never counted, and reaching the limit
// halves every count and gives the escape one back.
struct plainModelS {
    std::vector<uint32_t> counts = std::vector<uint32_t>(u3d::histogramC::kMaxSymbol + 1, 0);
    uint32_t total = 1;

    plainModelS() { counts[0] = 1; }

    void add(uint32_t symbol) {
        if (symbol > u3d::histogramC::kMaxSymbol)
            return;
        if (total >= u3d::histogramC::kLimit) {
            total = 0;
            for (uint32_t& c : counts) {
                c >>= 1;
                total += c;
            }
            ++counts[0];
            ++total;
        }
        ++counts[symbol];
        ++total;
    }
    uint32_t cumulative(uint32_t symbol) const {
        uint32_t sum = 0;
        for (uint32_t s = 0; s < symbol && s < counts.size(); ++s)
            sum += counts[s];
        return sum;
    }
};

// Reads values as u3d::bitReaderC does; a fault is a std::runtime_error.
// Only where a fault happens is compared, not its words.
class plainDecoderC {
public:
    explicit plainDecoderC(std::vector<uint8_t> data)
        : data_(std::move(data)), symbolsLeft_(64 * uint64_t(data_.size()) * 8 + 4096) {}

    uint64_t bitsRead() const { return position_; }

    uint8_t readU8() {
        if (low_ == 0 && high_ == 0xFFFF && underflow_ == 0) {
            if (position_ + 8 > 8 * uint64_t(data_.size()))
                throw std::runtime_error("past the end");
            uint32_t value = 0;
            for (int i = 0; i < 8; ++i)
                value |= bit(position_ + i) << i;
            position_ += 8;
            return static_cast<uint8_t>(value);
        }
        const uint32_t symbol = readStatic(256);
        uint32_t reversed = 0;
        for (int i = 0; i < 8; ++i)
            reversed |= ((symbol >> i) & 1) << (7 - i);
        return static_cast<uint8_t>(reversed);
    }
    uint16_t readU16() {
        const uint16_t low = readU8();
        return static_cast<uint16_t>(low | readU8() << 8);
    }
    uint32_t readU32() {
        const uint32_t low = readU16();
        return low | uint32_t(readU16()) << 16;
    }

    // `bytes` 1, 2 or 4: a compressed U8, U16 or U32.
    uint32_t readCompressed(uint32_t context, int bytes) {
        const auto plain = [&] { return bytes == 1 ? readU8() : bytes == 2 ? readU16() : readU32(); };
        if (context == 0 || context >= u3d::kMaxRange)
            return plain();
        if (context > u3d::kStaticFull)
            return truncated(readStatic(context - u3d::kStaticFull), bytes);
        plainModelS& model = models_[context];
        const uint32_t code = codeOffset();
        const uint32_t target = (model.total * (code + 1) - 1) / range();
        uint32_t symbol = 0;
        uint32_t below = 0;
        while (below + model.counts[symbol] <= target)
            below += model.counts[symbol++];
        narrow(below, below + model.counts[symbol], model.total);
        model.add(symbol);
        if (symbol != 0)
            return truncated(symbol - 1, bytes);
        const uint32_t value = plain();
        model.add(value + 1);
        return value;
    }

private:
    static uint32_t truncated(uint32_t value, int bytes) {
        return bytes == 4 ? value : value & ((1u << (8 * bytes)) - 1);
    }
    uint32_t bit(uint64_t at) const {
        return at / 8 < data_.size() ? (data_[at / 8] >> (at % 8)) & 1 : 0;
    }
    uint32_t range() const { return high_ + 1 - low_; }

    // The code's offset from low: the bit at the read position, then the
    // 15 bits after the pending underflow bits.
    uint32_t codeOffset() const {
        uint32_t code = bit(position_) << 15;
        for (uint32_t i = 0; i < 15; ++i)
            code |= bit(position_ + 1 + underflow_ + i) << (14 - i);
        if (code < low_ || code > high_)
            throw std::runtime_error("code outside the interval");
        return code - low_;
    }

    uint32_t readStatic(uint32_t count) {
        const uint32_t value = (count * (codeOffset() + 1) - 1) / range();
        narrow(value, value + 1, count);
        return value;
    }

    void narrow(uint32_t below, uint32_t above, uint32_t total) {
        const uint32_t r = range();
        high_ = low_ - 1 + r * above / total;
        low_ = low_ + r * below / total;
        for (;;) {
            if ((low_ & 0x8000) == (high_ & 0x8000)) {
                position_ += 1 + underflow_;
                underflow_ = 0;
                low_ = (low_ << 1) & 0xFFFF;
                high_ = ((high_ << 1) & 0xFFFF) | 1;
            } else if ((low_ & 0x4000) && !(high_ & 0x4000)) {
                ++underflow_;
                low_ = (low_ & 0x3FFF) << 1;
                high_ = ((high_ - 0x4000) << 1) | 1;
            } else {
                break;
            }
        }
        if (position_ + underflow_ > 8 * uint64_t(data_.size()))
            throw std::runtime_error("past the end");
        if (--symbolsLeft_ == 0)
            throw std::runtime_error("too many values");
    }

    std::vector<uint8_t> data_;
    uint64_t position_ = 0;
    uint32_t low_ = 0;
    uint32_t high_ = 0xFFFF;
    uint32_t underflow_ = 0;
    uint64_t symbolsLeft_;
    std::map<uint32_t, plainModelS> models_;
};

}  // namespace u3dtest
