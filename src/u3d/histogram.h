// The frequency model of one adaptive context of the U3D bit encoding.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace u3d {

// How often each symbol was seen in one adaptive context. Symbol 0, the
// escape, starts with frequency 1 and every other symbol with 0. Symbols
// above kMaxSymbol are never counted. Once the total reaches the limit (the
// format's 0x1FFF), adding a symbol first halves every frequency (rounding
// down) and gives the escape one back, so that recent symbols weigh more
// and the totals stay within the coder's 16-bit precision.
//
// Most contexts see a handful of symbols: while every symbol seen is below
// kSmall, the frequencies are a plain array that the decoder walks. A
// context that sees more keeps them in a binary indexed tree as well, so
// that the cumulative frequency of a symbol and the symbol of a cumulative
// frequency take logarithmic time however many symbols it has seen.
class histogramC {
public:
    static constexpr uint32_t kMaxSymbol = 0xFFFF;
    static constexpr uint32_t kLimit = 0x1FFF;
    static constexpr uint32_t kSmall = 16;

    histogramC() { small_[0] = 1; }

    uint32_t total() const { return total_; }
    uint32_t frequency(uint32_t symbol) const {
        if (large_)
            return symbol < large_->counts.size() ? large_->counts[symbol] : 0;
        return symbol < kSmall ? small_[symbol] : 0;
    }
    // The sum of the frequencies of the symbols below `symbol`.
    uint32_t cumulative(uint32_t symbol) const;
    // The symbol s whose cumulative(s) <= target < cumulative(s) + frequency(s),
    // for target < total(); its cumulative frequency goes to `below`.
    uint32_t find(uint32_t target, uint32_t& below) const;
    void add(uint32_t symbol) {
        // The decoder's common case inline: a small context that need not
        // halve.
        if (symbol < kSmall && !large_ && total_ < kLimit) {
            ++small_[symbol];
            ++total_;
            if (symbol >= used_)
                used_ = symbol + 1;
            return;
        }
        addSlow(symbol);
    }

    // Small: all frequencies are in counts()[0 .. kSmall).
    bool small() const { return !large_; }
    const uint16_t* counts() const { return small_; }

private:
    void addSlow(uint32_t symbol);
    void grow(uint32_t symbol);
    void halve();
    void buildTree();

    // The frequencies while small, in the histogram itself: the decoder
    // walks them for nearly every value it reads.
    uint16_t small_[kSmall] = {};
    uint32_t total_ = 1;
    // Every symbol from here on has count 0.
    uint32_t used_ = 1;
    // Once a symbol from kSmall on is seen: all frequencies, and
    // tree[i] for 1 <= i <= counts.size(), the sum of the counts of
    // symbols i - lowbit(i) .. i - 1 (tree[0] is unused).
    struct largeS {
        std::vector<uint16_t> counts;
        std::vector<uint32_t> tree;
    };
    std::unique_ptr<largeS> large_;
};

}  // namespace u3d
