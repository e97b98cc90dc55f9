#include "u3d/histogram.h"

namespace u3d {

namespace {

inline uint32_t lowBit(uint32_t i) { return i & (~i + 1); }

}  // namespace

histogramC::histogramC() : counts_(kSmall, 0) { counts_[0] = 1; }

uint32_t histogramC::cumulative(uint32_t symbol) const {
    if (symbol >= counts_.size())
        return total_;
    uint32_t sum = 0;
    if (small()) {
        for (uint32_t s = 0; s < symbol; ++s)
            sum += counts_[s];
        return sum;
    }
    for (uint32_t i = symbol; i > 0; i -= lowBit(i))
        sum += tree_[i];
    return sum;
}

uint32_t histogramC::find(uint32_t target, uint32_t& below) const {
    const uint32_t capacity = static_cast<uint32_t>(counts_.size());
    uint32_t position = 0;
    uint32_t sum = 0;
    if (small()) {
        while (position + 1 < capacity && sum + counts_[position] <= target)
            sum += counts_[position++];
        below = sum;
        return position;
    }
    // Descend the tree from the top: after each step `position` symbols
    // have a cumulative frequency of `sum` <= target.
    for (uint32_t step = capacity; step > 0; step >>= 1)
        if (position + step <= capacity && sum + tree_[position + step] <= target) {
            position += step;
            sum += tree_[position];
        }
    below = sum;
    return position;
}

void histogramC::addSlow(uint32_t symbol) {
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
    if (small())
        return;
    const uint32_t capacity = static_cast<uint32_t>(counts_.size());
    for (uint32_t i = symbol + 1; i <= capacity; i += lowBit(i))
        ++tree_[i];
}

void histogramC::grow(uint32_t symbol) {
    uint32_t capacity = static_cast<uint32_t>(counts_.size());
    while (capacity <= symbol)
        capacity *= 2;
    counts_.resize(capacity, 0);
    buildTree();
}

void histogramC::halve() {
    total_ = 1;
    for (uint32_t s = 0; s < used_; ++s) {
        counts_[s] >>= 1;
        total_ += counts_[s];
    }
    counts_[0] += 1;
    if (!small())
        buildTree();
}

// In linear time: each entry passes its sum on to the entry that covers it.
void histogramC::buildTree() {
    const uint32_t capacity = static_cast<uint32_t>(counts_.size());
    tree_.assign(capacity + 1, 0);
    for (uint32_t i = 1; i <= used_; ++i)
        tree_[i] = counts_[i - 1];
    for (uint32_t i = 1; i <= capacity; ++i) {
        const uint32_t parent = i + lowBit(i);
        if (parent <= capacity)
            tree_[parent] += tree_[i];
    }
}

}  // namespace u3d
