#include "metatree/metaHandlerRegistry.h"

bool metaObjectInterfaceListC::search(const char* key, uint32_t& position) const {
    // Narrows [lo, hi) until the key is met or lo and mid close in on the
    // place where it belongs.
    uint32_t lo = 0;
    uint32_t hi = entries_.count();
    for (;;) {
        uint32_t mid = (lo + hi) / 2;
        const str& probe = entries_.at(mid).key;
        if (probe.equals(key)) {
            position = mid;
            return true;
        }
        if (probe.less(key)) {
            lo = mid + 1;
            mid = hi;
        }
        if (lo >= mid) {
            position = mid;
            return false;
        }
        hi = mid;
    }
}

void metaObjectInterfaceListC::insertAt(uint32_t position, const char* key, void* handler,
                                        int32_t priority) {
    entries_.append();
    for (uint32_t i = entries_.count() - 1; i > position; --i)
        entries_.at(i) = entries_.at(i - 1);
    metaObjectInterfaceListEntryC& e = entries_.at(position);
    e.priority = priority;
    e.key = key;
    e.handler = handler;
}

void metaObjectInterfaceListC::add(const char* key, void* handler, int32_t priority) {
    if (!key || !*key)
        return;
    uint32_t position = 0;
    if (entries_.count() == 0 || !search(key, position)) {
        insertAt(entries_.count() == 0 ? 0 : position, key, handler, priority);
        return;
    }
    metaObjectInterfaceListEntryC& e = entries_.at(position);
    if (e.priority < priority) {
        e.priority = priority;
        e.handler = handler;
    }
}

void* metaObjectInterfaceListC::find(const char* keyText) const {
    if (!keyText || !*keyText || entries_.count() == 0)
        return nullptr;
    if (entries_.count() <= kLinearScanLimit) {
        for (uint32_t i = 0; i < entries_.count(); ++i)
            if (entries_.at(i).key.equals(keyText))
                return entries_.at(i).handler;
        return nullptr;
    }
    uint32_t position = 0;
    return search(keyText, position) ? entries_.at(position).handler : nullptr;
}
