#include "runtime/memory/memCheckers.h"

#include <cstdint>

// Which checkers this build can talk to. GCC names a sanitizer build with
// __SANITIZE_ADDRESS__, clang answers __has_feature; valgrind's client
// requests come from its own headers (Debian's valgrind package), which the
// Windows cross build does not have.
#if defined(__SANITIZE_ADDRESS__)
#define MEM_CHECKER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MEM_CHECKER_ASAN 1
#endif
#endif
#ifndef MEM_CHECKER_ASAN
#define MEM_CHECKER_ASAN 0
#endif

#if defined(__has_include) && !defined(_WIN32)
#if __has_include(<valgrind/memcheck.h>)
#define MEM_CHECKER_VALGRIND 1
#endif
#endif
#ifndef MEM_CHECKER_VALGRIND
#define MEM_CHECKER_VALGRIND 0
#endif

#if MEM_CHECKER_ASAN
#include <sanitizer/asan_interface.h>
#include <sanitizer/lsan_interface.h>
#endif
#if MEM_CHECKER_VALGRIND
#include <valgrind/memcheck.h>
#include <valgrind/valgrind.h>
#endif

bool memCheckerWatching() {
#if MEM_CHECKER_ASAN
    return true;
#elif MEM_CHECKER_VALGRIND
    return RUNNING_ON_VALGRIND != 0;
#else
    return false;
#endif
}

void memCheckerHide([[maybe_unused]] const void* p, [[maybe_unused]] size_t n) {
#if MEM_CHECKER_ASAN
    ASAN_POISON_MEMORY_REGION(p, n);
#endif
#if MEM_CHECKER_VALGRIND
    VALGRIND_MAKE_MEM_NOACCESS(p, n);
#endif
}

void memCheckerShow([[maybe_unused]] const void* p, [[maybe_unused]] size_t n) {
#if MEM_CHECKER_ASAN
    ASAN_UNPOISON_MEMORY_REGION(p, n);
#endif
#if MEM_CHECKER_VALGRIND
    VALGRIND_MAKE_MEM_DEFINED(p, n);
#endif
}

void memCheckerBlockTaken([[maybe_unused]] const void* user, [[maybe_unused]] size_t n) {
#if MEM_CHECKER_ASAN
    ASAN_UNPOISON_MEMORY_REGION(user, n);
#endif
#if MEM_CHECKER_VALGRIND
    // No red zones of memcheck's own: the allocator hides the header in
    // front of the block and the bytes behind it itself.
    VALGRIND_MALLOCLIKE_BLOCK(user, n, 0, 0);
#endif
}

void memCheckerBlockReleased([[maybe_unused]] const void* user) {
    // The sanitizer has no released-block bookkeeping of its own to tell:
    // the allocator hides the slot.
#if MEM_CHECKER_VALGRIND
    VALGRIND_FREELIKE_BLOCK(user, 0);
#endif
}

void memCheckerPageMade([[maybe_unused]] const void* page) {
#if MEM_CHECKER_ASAN
    __lsan_ignore_object(page);
#endif
}

// Without instrumentation for the sanitizer, and byte by byte through a
// volatile pointer, so that the compiler makes no memcpy call of it (the
// sanitizer would check that one). Memcheck reports reads of hidden bytes
// but hands them over as defined data; its reports are off for the copy.
#if MEM_CHECKER_ASAN
__attribute__((no_sanitize("address")))
#endif
void memCheckerPeek(const void* from, void* to, size_t n) {
#if MEM_CHECKER_VALGRIND
    VALGRIND_DISABLE_ERROR_REPORTING;
#endif
    const volatile unsigned char* source = static_cast<const volatile unsigned char*>(from);
    unsigned char* target = static_cast<unsigned char*>(to);
    for (size_t i = 0; i < n; ++i)
        target[i] = source[i];
#if MEM_CHECKER_VALGRIND
    VALGRIND_ENABLE_ERROR_REPORTING;
#endif
}
