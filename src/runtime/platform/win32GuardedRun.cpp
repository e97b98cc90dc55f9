// Guarded work of the Win32 platform layer: the work runs on a thread of
// its own, which brings a fresh stack (the faulting thread's may be used
// up), while the caller waits for it with a time limit.
//
// A thread has its stack from the system, so no stack is reserved ahead.
#include "runtime/platform/platform.h"

#include <windows.h>

namespace platform {

namespace {

// Room for the symboliser's deepest use with plenty to spare.
constexpr SIZE_T kWorkStackSize = 1024 * 1024;

struct guardedWorkS {
    void (*work)(void*);
    void* context;
};

DWORD WINAPI runWork(void* argument) {
    auto* guarded = static_cast<guardedWorkS*>(argument);
    guarded->work(guarded->context);
    return 0;
}

}  // namespace

void reserveGuardedStack() {}

void releaseGuardedStack() {}

// Work that is cut off keeps running on its thread: nothing can stop a
// thread safely from outside. It only ever runs when the process is about
// to end, and its state lives in storage the caller does not reuse then.
bool runGuarded(void (*work)(void*), void* context, unsigned seconds) {
    static guardedWorkS guarded;
    guarded.work = work;
    guarded.context = context;
    HANDLE thread = CreateThread(nullptr, kWorkStackSize, runWork, &guarded,
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) {
        work(context);  // no thread to be had: still worth trying here
        return true;
    }
    const DWORD waited = WaitForSingleObject(thread, seconds * 1000u);
    CloseHandle(thread);
    return waited == WAIT_OBJECT_0;
}

}  // namespace platform
