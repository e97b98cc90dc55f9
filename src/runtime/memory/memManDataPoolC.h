// One owned, contiguous buffer of plain data, allocated through the memory
// system of the object that owns it.
//
// The buffer holds bytes, not constructed objects: it is copied and moved
// with memcpy and realloc, so only trivially copyable element types fit.
#pragma once

#include "runtime/memory/memManInterfaceC.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

template <class T>
class memManDataPoolC : public memManInterfaceC {
    static_assert(std::is_trivially_copyable_v<T>,
                  "memManDataPoolC holds raw bytes; use pageMemT for objects");

public:
    memManDataPoolC() = default;
    memManDataPoolC(const memManDataPoolC& other) : memManInterfaceC() { assign(other); }
    memManDataPoolC& operator=(const memManDataPoolC& other) {
        assign(other);
        return *this;
    }
    ~memManDataPoolC() override { release(); }

    T* data() const { return data_; }
    // Byte size of the buffer, 0 when there is none.
    int32_t bytes() const { return bytes_; }
    T& operator[](size_t i) const { return data_[i]; }

    // Replaces the buffer by a new, uninitialised one of the given size
    // (none for 0).
    void allocate(size_t bytes) {
        release();
        if (bytes == 0) return;
        data_ = static_cast<T*>(checked(memAlloc(checkedSize(bytes))));
        bytes_ = static_cast<int32_t>(bytes);
    }

    // Replaces the buffer by a copy of the source bytes; nothing is kept when
    // either the source or the byte count is empty.
    void set(const T* source, size_t bytes) {
        release();
        if (source == nullptr || bytes == 0) return;
        allocate(bytes);
        std::memcpy(data_, source, bytes);
    }

    // Copies the other buffer; nothing to do when both share one buffer.
    void assign(const memManDataPoolC& other) {
        if (other.data_ == data_) return;
        set(other.data_, static_cast<size_t>(other.bytes_));
    }

    // Reallocates to the new byte size, keeping the leading bytes; 0 releases.
    void resize(size_t bytes) {
        if (bytes == 0) {
            release();
            return;
        }
        data_ = static_cast<T*>(checked(memRealloc(data_, checkedSize(bytes))));
        bytes_ = static_cast<int32_t>(bytes);
    }

    // Exchanges the buffers of two pools of the same module.
    void swap(memManDataPoolC& other) noexcept {
        T* data = data_;
        int32_t bytes = bytes_;
        data_ = other.data_;
        bytes_ = other.bytes_;
        other.data_ = data;
        other.bytes_ = bytes;
    }

    void release() {
        if (data_ != nullptr) memFree(data_);
        data_ = nullptr;
        bytes_ = 0;
    }

private:
    // The byte size is a 32-bit field: a larger buffer is refused like one
    // the heap cannot provide, never truncated.
    static size_t checkedSize(size_t bytes) {
        if (bytes > static_cast<size_t>(INT32_MAX)) throw std::bad_alloc();
        return bytes;
    }
    static void* checked(void* p) {
        if (p == nullptr) throw std::bad_alloc();
        return p;
    }

    T* data_ = nullptr;
    int32_t bytes_ = 0;
};
