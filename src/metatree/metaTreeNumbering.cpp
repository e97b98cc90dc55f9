#include "metatree/metaTreeNumbering.h"

#include "metatree/treeStamp.h"
#include "metatree/treeWalk.h"

namespace {

using indexT = pageMemT<uint32_t, metaTreeNumberingC::kPageBits>;

// Shell sort of positions by key: insertion sorts over the gaps of the
// sequence 1, 4, 13, 40, ..., starting with the first gap not below n / 9.
template <class Key>
void shellSort(indexT& index, Key key) {
    const uint32_t n = index.count();
    uint32_t h = 1;
    while (h < n / 9)
        h = 3 * h + 1;
    for (; h > 0; h /= 3) {
        for (uint32_t i = h; i < n; ++i) {
            const uint32_t moving = index.at(i);
            const uintptr_t k = key(moving);
            uint32_t j = i;
            for (; j >= h && key(index.at(j - h)) > k; j -= h)
                index.at(j) = index.at(j - h);
            index.at(j) = moving;
        }
    }
}

uintptr_t addressOf(const metaTreeC* node) { return reinterpret_cast<uintptr_t>(node); }

}  // namespace

void metaTreeNumberingC::reset(metaTreeC* root) {
    root_ = root;
    builtStamp_ = -1;
    built_ = false;
    rootTreeCount_ = 0;
    nodes_.reset();
    byAddress_.reset();
    byCopyTag_.reset();
}

void metaTreeNumberingC::build(bool force) {
    if (!root_ || (built_ && !force) || (built_ && builtStamp_ == treeStamp))
        return;
    nodes_.reset();
    byAddress_.reset();
    byCopyTag_.reset();
    rootTreeCount_ = 0;
    preOrderWalkT<metaTreeC> walk(root_, -1, false);
    for (; metaTreeC* n = walk.node(); walk.advance()) {
        if (walk.level() == 0 && n != root_ && rootTreeCount_ == 0)
            rootTreeCount_ = nodes_.count();
        nodes_.append() = n;
    }
    if (rootTreeCount_ == 0)
        rootTreeCount_ = nodes_.count();

    for (uint32_t i = 0; i < nodes_.count(); ++i) {
        byAddress_.append() = i;
        if (nodes_.at(i)->copyTag)
            byCopyTag_.append() = i;
    }
    shellSort(byAddress_, [this](uint32_t i) { return addressOf(nodes_.at(i)); });
    shellSort(byCopyTag_, [this](uint32_t i) { return nodes_.at(i)->copyTag; });
    builtStamp_ = treeStamp;
    built_ = true;
}

template <class Key>
int64_t metaTreeNumberingC::lookup(const pageMemT<uint32_t, kPageBits>& sorted, uintptr_t wanted, Key key) const {
    uint32_t lo = 0;
    uint32_t hi = sorted.count();
    while (lo < hi) {
        const uint32_t mid = lo + (hi - lo) / 2;
        const uintptr_t k = key(sorted.at(mid));
        if (k == wanted)
            return sorted.at(mid);
        if (k < wanted)
            lo = mid + 1;
        else
            hi = mid;
    }
    return -1;
}

metaTreeC* metaTreeNumberingC::nodeAt(int64_t n) {
    build(false);
    if (n < 1 || n > static_cast<int64_t>(nodes_.count()))
        return nullptr;
    return nodes_.at(static_cast<uint32_t>(n - 1));
}

int32_t metaTreeNumberingC::numberOf(const metaTreeC* node) {
    build(false);
    if (!node)
        return 0;
    const int64_t i = lookup(byAddress_, addressOf(node), [this](uint32_t p) { return addressOf(nodes_.at(p)); });
    // Numbers are 32-bit in the text form; a node beyond that cannot be named.
    return i < 0 || i >= INT32_MAX ? 0 : static_cast<int32_t>(i + 1);
}

metaTreeC* metaTreeNumberingC::nodeWithCopyTag(uintptr_t tag) {
    build(false);
    if (!tag)
        return nullptr;
    const int64_t i = lookup(byCopyTag_, tag, [this](uint32_t p) { return nodes_.at(p)->copyTag; });
    return i < 0 ? nullptr : nodes_.at(static_cast<uint32_t>(i));
}

bool metaTreeNumberingC::inRootTree(const metaTreeC* node) {
    const int32_t n = numberOf(node);
    return n > 0 && static_cast<uint32_t>(n) <= rootTreeCount_;
}

uint32_t metaTreeNumberingC::count() {
    build(false);
    return nodes_.count();
}

void metaTreeNumberingC::clear() {
    reset(nullptr);
    nodes_.clear();
    byAddress_.clear();
    byCopyTag_.clear();
}
