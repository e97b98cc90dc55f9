// The pure virtual call handler, the same on every platform: the C++
// runtime routes a call through an unfilled vtable slot to
// __cxa_pure_virtual, which is defined here so that the crash handler can
// log the stack before the process ends.
#include "runtime/platform/platform.h"

#include <atomic>
#include <cstdlib>

// A DLL exports only what it names; an ELF module hides what it says.
#if defined(_WIN32)
#define U3DPDF_RUNTIME_HANDLER __attribute__((noreturn))
#else
#define U3DPDF_RUNTIME_HANDLER __attribute__((visibility("hidden"), noreturn))
#endif

namespace platform {

namespace {

std::atomic<void (*)()> g_pureVirtualHandler{nullptr};

}  // namespace

void setPureVirtualHandler(void (*handler)()) {
    g_pureVirtualHandler.store(handler, std::memory_order_release);
}

[[noreturn]] static void badVirtualCall(const char* message) {
    if (auto handler = g_pureVirtualHandler.load(std::memory_order_acquire))
        handler();
    debugOutput(message);
    abort();
}

}  // namespace platform

// Both functions of the C++ runtime's object for these calls are defined,
// so the library's own copy is never linked in beside them when the
// standard library is linked statically.
extern "C" U3DPDF_RUNTIME_HANDLER void __cxa_pure_virtual() {
    platform::badVirtualCall("pure virtual method called\n");
}

extern "C" U3DPDF_RUNTIME_HANDLER void __cxa_deleted_virtual() {
    platform::badVirtualCall("deleted virtual method called\n");
}
