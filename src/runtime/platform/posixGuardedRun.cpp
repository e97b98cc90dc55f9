// Guarded work of the POSIX platform layer: a stack of its own (ucontext)
// and a time limit (SIGALRM with a jump back out of the work).
#include "runtime/platform/platform.h"

#include <pthread.h>
#include <setjmp.h>
#include <signal.h>
#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>

namespace platform {

namespace {

// Room for the symboliser's deepest use with plenty to spare; only the pages
// it touches are ever backed by memory. A guard page below catches overflow.
constexpr size_t kWorkStackSize = 1024 * 1024;
constexpr size_t kGuardSize = 64 * 1024;  // a page on every page size in use

char* g_workStack = nullptr;
ucontext_t g_workContext;
ucontext_t g_callerContext;
void (*g_work)(void*) = nullptr;
void* g_workArgument = nullptr;

sigjmp_buf g_cutOff;
pthread_t g_worker;
std::atomic<bool> g_armed{false};

// The alarm goes to whichever thread of the process has it unblocked; only
// the worker can leave its own work, so others hand it on.
void onAlarm(int) {
    if (!g_armed.load(std::memory_order_acquire))
        return;
    if (!pthread_equal(pthread_self(), g_worker)) {
        pthread_kill(g_worker, SIGALRM);
        return;
    }
    g_armed.store(false, std::memory_order_release);
    siglongjmp(g_cutOff, 1);
}

void runWork() { g_work(g_workArgument); }

// Returns when the work is done (through uc_link) unless the alarm cuts it
// off first and jumps straight back to runGuarded.
void runOnWorkStack(void (*work)(void*), void* context) {
    if (!g_workStack || getcontext(&g_workContext) != 0) {
        work(context);
        return;
    }
    g_work = work;
    g_workArgument = context;
    g_workContext.uc_stack.ss_sp = g_workStack + kGuardSize;
    g_workContext.uc_stack.ss_size = kWorkStackSize;
    g_workContext.uc_link = &g_callerContext;
    makecontext(&g_workContext, runWork, 0);
    if (swapcontext(&g_callerContext, &g_workContext) != 0)
        work(context);
}

}  // namespace

void reserveGuardedStack() {
    if (g_workStack)
        return;
    void* mem = mmap(nullptr, kGuardSize + kWorkStackSize, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mem == MAP_FAILED)
        return;
    mprotect(mem, kGuardSize, PROT_NONE);
    g_workStack = static_cast<char*>(mem);
}

void releaseGuardedStack() {
    if (!g_workStack)
        return;
    munmap(g_workStack, kGuardSize + kWorkStackSize);
    g_workStack = nullptr;
}

bool runGuarded(void (*work)(void*), void* context, unsigned seconds) {
    struct sigaction ours = {};
    struct sigaction previous = {};
    ours.sa_handler = onAlarm;
    sigemptyset(&ours.sa_mask);
    g_worker = pthread_self();
    if (sigaction(SIGALRM, &ours, &previous) != 0) {
        runOnWorkStack(work, context);  // no time limit to be had: still worth trying
        return true;
    }
    sigset_t alarmOnly;
    sigset_t savedMask;
    sigemptyset(&alarmOnly);
    sigaddset(&alarmOnly, SIGALRM);
    pthread_sigmask(SIG_UNBLOCK, &alarmOnly, &savedMask);

    // Written between sigsetjmp and a possible jump back: volatile.
    volatile bool finished = false;
    volatile unsigned pendingAlarm = 0;
    if (sigsetjmp(g_cutOff, 1) == 0) {
        g_armed.store(true, std::memory_order_release);
        pendingAlarm = alarm(seconds);
        runOnWorkStack(work, context);
        finished = true;
    }
    g_armed.store(false, std::memory_order_release);
    alarm(0);
    sigaction(SIGALRM, &previous, nullptr);
    pthread_sigmask(SIG_SETMASK, &savedMask, nullptr);
    // The process's own alarm, to the second (what alarm() can tell).
    if (pendingAlarm != 0)
        alarm(pendingAlarm);
    return finished;
}

}  // namespace platform
