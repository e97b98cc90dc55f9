// The consistency checks of the memory check and inspection reports: is a
// page's control record sound, is a block header sound.
//
// Both look at memory that may be corrupt, so they never dereference it:
// every read goes through a memProbeC, which serves it from a copy of the
// page being checked or from the platform's fault-free read. An unreadable
// byte fails the check instead of faulting.
#pragma once

#include "runtime/memory/memBlock.h"

#include <cstddef>
#include <cstdint>

class memPoolAllocatorC;

class memProbeC {
public:
    // Reads everything from the process.
    memProbeC() = default;
    // Reads the n bytes at original from copy instead.
    memProbeC(const void* original, const void* copy, size_t n)
        : original_(static_cast<const unsigned char*>(original)),
          copy_(static_cast<const unsigned char*>(copy)),
          size_(n) {}

    // True when all n bytes could be read.
    bool read(const void* address, void* out, size_t n) const;

private:
    const unsigned char* original_ = nullptr;
    const unsigned char* copy_ = nullptr;
    size_t size_ = 0;
};

// A released link or a free head this far or farther from where it should
// point leaves the page it belongs to.
constexpr int64_t kMemFarLink = kMemPageSlotBytes + 1;

// The control record of the page at page (read into control) is sound: its
// magic is set and its free head is null or lies less than 10001 bytes
// after the page start.
bool memPageValid(const memPageS* page, const memPageS& control);

// The header at head is sound:
// - a live block owned by a page (its owner leads to a control record with
//   the page magic): its size does not exceed the page's
//   element size, and when it is smaller the guard byte behind the data is
//   intact;
// - a live block from the runtime heap: sound;
// - a released or never used slot: sound, unless a released slot links to
//   a slot 10001 or more bytes away;
// - any other owner value, or a header that cannot be read: unsound.
bool memBlockValid(const memPoolAllocatorC& allocator, const memBlockHeadS* head,
                   const memProbeC& probe);
