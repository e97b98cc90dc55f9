// A paged array: elements live in pages of 2^N, so appending never moves an
// element and a reference stays valid while the array lives.
//
// Pages are kept until the array is cleared or destroyed; removing elements
// or resetting the count only makes their places reusable.
#pragma once

#include "runtime/memory/memManDataPoolC.h"
#include "runtime/memory/memManInterfaceC.h"

#include <cstdint>

template <class T, int N>
class pageMemT {
public:
    static constexpr uint32_t kPerPage = 1u << N;

    class pageIC : public memManInterfaceC {
    public:
        T items[kPerPage]{};
    };

    pageMemT() = default;
    pageMemT(const pageMemT& other) { copyFrom(other); }
    pageMemT& operator=(const pageMemT& other) {
        if (&other != this) {
            clear();
            copyFrom(other);
        }
        return *this;
    }
    ~pageMemT() { clear(); }

    uint32_t count() const { return count_; }
    int32_t pageCount() const { return pageCount_; }

    // The element behind the last one, made available; a reused place keeps
    // the value it held before.
    T& append() {
        if (count_ / kPerPage >= static_cast<uint32_t>(pageCount_)) addPage();
        T& element = at(count_);
        ++count_;
        return element;
    }

    // No bounds check.
    T& at(uint32_t i) { return pages_[i >> N]->items[i & (kPerPage - 1)]; }
    const T& at(uint32_t i) const { return pages_[i >> N]->items[i & (kPerPage - 1)]; }

    // Moves every later element one place down; an index past the end
    // changes nothing.
    void removeAt(uint32_t i) {
        if (i >= count_) return;
        for (uint32_t j = i + 1; j < count_; ++j) at(j - 1) = at(j);
        --count_;
    }

    // Forgets the elements and keeps the pages for later appends.
    void reset() { count_ = 0; }

    // Deletes every page and the page table.
    void clear() {
        for (int32_t p = 0; p < pageCount_; ++p) delete pages_[static_cast<size_t>(p)];
        pageCount_ = 0;
        count_ = 0;
        pages_.release();
    }

private:
    // The page table grows geometrically so that a long array does not copy
    // its table once per page.
    void addPage() {
        size_t capacity = static_cast<size_t>(pages_.bytes()) / sizeof(pageIC*);
        if (static_cast<size_t>(pageCount_) == capacity) {
            size_t grown = capacity < 4 ? 4 : capacity * 2;
            pages_.resize(grown * sizeof(pageIC*));
        }
        pages_[static_cast<size_t>(pageCount_)] = new pageIC;
        ++pageCount_;
    }

    void copyFrom(const pageMemT& other) {
        while (static_cast<uint32_t>(pageCount_) < other.count_ / kPerPage + 1) addPage();
        for (uint32_t i = 0; i < other.count_; ++i) at(i) = other.at(i);
        count_ = other.count_;
    }

    memManDataPoolC<pageIC*> pages_;
    int32_t pageCount_ = 0;
    uint32_t count_ = 0;
};
