#include "u3d/histogram.h"

namespace u3d {

namespace {

constexpr uint32_t kInitialCapacity = 64;

inline uint32_t lowBit(uint32_t i) { return i & (~i + 1); }

}  // namespace

histogramC::histogramC() : counts_(kInitialCapacity, 0), tree_(kInitialCapacity + 1, 0) {
    counts_[0] = 1;
    for (uint32_t i = 1; i <= kInitialCapacity; i += lowBit(i))
        tree_[i] += 1;
}

uint32_t histogramC::cumulative(uint32_t symbol) const {
    if (symbol >= counts_.size())
        return total_;
    uint32_t sum = 0;
    for (uint32_t i = symbol; i > 0; i -= lowBit(i))
        sum += tree_[i];
    return sum;
}

uint32_t histogramC::find(uint32_t target, uint32_t& below) const {
    // Descend the tree from the top: after each step `position` symbols
    // have a cumulative frequency of `sum` <= target.
    const uint32_t capacity = static_cast<uint32_t>(counts_.size());
    uint32_t position = 0;
    uint32_t sum = 0;
    for (uint32_t step = capacity; step > 0; step >>= 1)
        if (position + step <= capacity && sum + tree_[position + step] <= target) {
            position += step;
            sum += tree_[position];
        }
    below = sum;
    return position;
}

void histogramC::add(uint32_t symbol) {
    if (symbol > kMaxSymbol)
        return;
    if (total_ >= kLimit)
        halve();
    if (symbol >= counts_.size())
        grow(symbol);
    ++counts_[symbol];
    ++total_;
    if (symbol >= used_)
        used_ = symbol + 1;
    const uint32_t capacity = static_cast<uint32_t>(counts_.size());
    for (uint32_t i = symbol + 1; i <= capacity; i += lowBit(i))
        ++tree_[i];
}

// Doubling a power-of-two tree keeps every entry of the lower half; of the
// new entries only the top one covers a non-zero count: all of them.
void histogramC::grow(uint32_t symbol) {
    uint32_t capacity = static_cast<uint32_t>(counts_.size());
    while (capacity <= symbol) {
        counts_.resize(capacity * 2, 0);
        tree_.resize(capacity * 2 + 1, 0);
        tree_[capacity * 2] = total_;
        capacity *= 2;
    }
}

void histogramC::halve() {
    total_ = 1;
    for (uint32_t s = 0; s < used_; ++s) {
        counts_[s] >>= 1;
        total_ += counts_[s];
    }
    counts_[0] += 1;
    // Rebuild the tree in linear time: each entry passes its sum on to the
    // entry that covers it.
    const uint32_t capacity = static_cast<uint32_t>(counts_.size());
    for (uint32_t i = 1; i <= capacity; ++i)
        tree_[i] = i <= used_ ? counts_[i - 1] : 0;
    for (uint32_t i = 1; i <= capacity; ++i) {
        const uint32_t parent = i + lowBit(i);
        if (parent <= capacity)
            tree_[parent] += tree_[i];
    }
}

}  // namespace u3d
