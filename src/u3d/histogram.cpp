#include "u3d/histogram.h"

#include <algorithm>

namespace u3d {

namespace {

inline uint32_t lowBit(uint32_t i) { return i & (~i + 1); }

}  // namespace

uint32_t histogramC::cumulative(uint32_t symbol) const {
    uint32_t sum = 0;
    if (small()) {
        if (symbol >= kSmall)
            return total_;
        for (uint32_t s = 0; s < symbol; ++s)
            sum += small_[s];
        return sum;
    }
    if (symbol >= large_->counts.size())
        return total_;
    for (uint32_t i = symbol; i > 0; i -= lowBit(i))
        sum += large_->tree[i];
    return sum;
}

uint32_t histogramC::find(uint32_t target, uint32_t& below) const {
    uint32_t position = 0;
    uint32_t sum = 0;
    if (small()) {
        while (position + 1 < kSmall && sum + small_[position] <= target)
            sum += small_[position++];
        below = sum;
        return position;
    }
    // Descend the tree from the top: after each step `position` symbols
    // have a cumulative frequency of `sum` <= target. The capacity is a
    // power of two, so after the first step position + step stays within
    // it. Each step's choice is as likely one way as the other, so it is
    // made without a branch.
    const uint32_t capacity = static_cast<uint32_t>(large_->counts.size());
    const uint32_t* tree = large_->tree.data();
    if (tree[capacity] <= target) {
        below = tree[capacity];
        return capacity;
    }
    for (uint32_t step = capacity >> 1; step > 0; step >>= 1) {
        const uint32_t next = sum + tree[position + step];
        const bool take = next <= target;
        position += take ? step : 0;
        sum = take ? next : sum;
    }
    below = sum;
    return position;
}

void histogramC::addSlow(uint32_t symbol) {
    if (symbol > kMaxSymbol)
        return;
    if (total_ >= kLimit)
        halve();
    if (small() && symbol < kSmall) {
        ++small_[symbol];
    } else {
        if (small() || symbol >= large_->counts.size())
            grow(symbol);
        ++large_->counts[symbol];
        const uint32_t capacity = static_cast<uint32_t>(large_->counts.size());
        for (uint32_t i = symbol + 1; i <= capacity; i += lowBit(i))
            ++large_->tree[i];
    }
    ++total_;
    if (symbol >= used_)
        used_ = symbol + 1;
}

// The counts (moved out of the histogram itself the first time) to a
// power of two above `symbol`, and the tree rebuilt; the count of `symbol`
// itself is added by the caller.
void histogramC::grow(uint32_t symbol) {
    if (!large_) {
        large_ = std::make_unique<largeS>();
        large_->counts.assign(small_, small_ + kSmall);
        std::fill(small_, small_ + kSmall, 0);
    }
    uint32_t capacity = static_cast<uint32_t>(large_->counts.size());
    while (capacity <= symbol)
        capacity *= 2;
    large_->counts.resize(capacity, 0);
    buildTree();
}

void histogramC::halve() {
    uint16_t* counts = small() ? small_ : large_->counts.data();
    total_ = 1;
    for (uint32_t s = 0; s < used_; ++s) {
        counts[s] >>= 1;
        total_ += counts[s];
    }
    counts[0] += 1;
    if (!small())
        buildTree();
}

// In linear time: each entry passes its sum on to the entry that covers it.
void histogramC::buildTree() {
    const std::vector<uint16_t>& counts = large_->counts;
    std::vector<uint32_t>& tree = large_->tree;
    const uint32_t capacity = static_cast<uint32_t>(counts.size());
    tree.assign(capacity + 1, 0);
    for (uint32_t i = 1; i <= used_; ++i)
        tree[i] = counts[i - 1];
    for (uint32_t i = 1; i <= capacity; ++i) {
        const uint32_t parent = i + lowBit(i);
        if (parent <= capacity)
            tree[parent] += tree[i];
    }
}

}  // namespace u3d
