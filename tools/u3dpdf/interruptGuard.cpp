// The system-independent half of the interrupt guard: the registered paths
// and the files that own them. interruptGuardPosix.cpp and
// interruptGuardWin32.cpp install the handlers and implement the holds.
#include "interruptGuard.h"
#include "interruptSlots.h"

#include "cliExit.h"

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

struct slotS {
    volatile std::sig_atomic_t used;
    char path[interruptSlots::kPathSize];
};

slotS g_slots[interruptSlots::kCount];

// strcpy for the handler's side, without relying on the C library's.
size_t append(char* out, size_t at, size_t size, const char* text) {
    while (*text && at + 1 < size)
        out[at++] = *text++;
    return at;
}

}  // namespace

namespace interruptSlots {

int claim(const std::string& path) {
    if (path.size() >= kPathSize || path.find('\0') != std::string::npos)
        return -1;
    for (int i = 0; i < kCount; ++i) {
        if (g_slots[i].used)
            continue;
        std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
        g_slots[i].used = 1;
        return i;
    }
    return -1;
}

void clear(int slot) { g_slots[slot].used = 0; }

void forEach(void (*remove)(const char* path)) {
    for (slotS& slot : g_slots)
        if (slot.used)
            remove(slot.path);
}

}  // namespace interruptSlots

size_t interruptLine(const char* event, char* out, size_t size) {
    size_t n = append(out, 0, size, "u3dpdf: interrupted by ");
    n = append(out, n, size, event);
    n = append(out, n, size, ", temporary files removed\n");
    out[n] = '\0';
    return n;
}

guardedFileC::guardedFileC(const std::string& path) : path_(path), slot_(interruptSlots::claim(path)) {
    if (slot_ < 0) {
        std::remove(path.c_str());
        inputError("cannot keep track of the temporary file " + path + ": its name is too long or too many are open");
    }
}

guardedFileC::~guardedFileC() {
    if (slot_ < 0)
        return;
    // Removed before it is forgotten: an interruption in between would
    // remove a name that someone else may have taken meanwhile.
    const interruptHoldC hold;
    std::remove(path_.c_str());
    interruptSlots::clear(slot_);
}

void guardedFileC::release() {
    if (slot_ < 0)
        return;
    const interruptHoldC hold;
    interruptSlots::clear(slot_);
    slot_ = -1;
}
