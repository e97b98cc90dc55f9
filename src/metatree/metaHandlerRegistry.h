// Registries that map entry keys to the handler objects serving them.
//
// Entries such as references and checksums need more than a plain node copy
// when a tree is saved, loaded or copied; their handlers are found by the
// entry's key text. A registry is kept sorted by key (unsigned byte order) so
// that a lookup in a large registry is a binary search; small ones are
// scanned. Two registrations for one key are settled by priority: a higher
// priority replaces, an equal or lower one is ignored.
#pragma once

#include "runtime/memory/pageMemT.h"
#include "runtime/str/str.h"

#include <cstdint>

struct metaObjectInterfaceListEntryC {
    int32_t priority = 0;
    str key;
    // The handler, typed by the registry that holds the entry
    // (metaHandlerRegistryT); never owned.
    void* handler = nullptr;
};

// The untyped core: sorted entries, binary search, priorities.
class metaObjectInterfaceListC {
public:
    // Registries up to this size are scanned; larger ones are searched.
    static constexpr uint32_t kLinearScanLimit = 5;

    // Adds the entry in key order, or replaces the entry of the same key
    // when its priority is lower. An empty or null key is ignored: lookups
    // never find one.
    void add(const char* key, void* handler, int32_t priority);
    // The handler registered for the key; null when none, or for a null or
    // empty key.
    void* find(const char* keyText) const;

    uint32_t count() const { return entries_.count(); }
    const metaObjectInterfaceListEntryC& at(uint32_t i) const { return entries_.at(i); }

private:
    // Binary search; sets position to the entry holding the key (true) or
    // to the place where the key belongs (false). The registry is not empty.
    bool search(const char* key, uint32_t& position) const;
    void insertAt(uint32_t position, const char* key, void* handler, int32_t priority);

    pageMemT<metaObjectInterfaceListEntryC, 3> entries_;
};

// A registry of one handler interface.
template <class Handler>
class metaHandlerRegistryT {
public:
    void add(const char* key, Handler* handler, int32_t priority) { list_.add(key, handler, priority); }
    Handler* find(const char* keyText) const { return static_cast<Handler*>(list_.find(keyText)); }
    const metaObjectInterfaceListC& entries() const { return list_; }

private:
    metaObjectInterfaceListC list_;
};

template <class Handler>
void registerHandler(metaHandlerRegistryT<Handler>& registry, const char* key, Handler* handler,
                     int32_t priority) {
    registry.add(key, handler, priority);
}

template <class Handler>
Handler* lookupHandler(const metaHandlerRegistryT<Handler>& registry, const char* keyText) {
    return registry.find(keyText);
}
