// Crash hooks of the POSIX platform layer: signal handlers that report a
// fault to the runtime's callback and then let the fault take the course it
// would have taken without them.
//
// Everything reached from the signal handler is async-signal-safe: plain
// loads of preset state, sigaction, raise.
#include "runtime/platform/platform.h"

#include <signal.h>
#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
constexpr int kAccessSignals[] = {SIGSEGV, SIGBUS};
constexpr int kSignalCount = sizeof kFatalSignals / sizeof kFatalSignals[0];
// Large enough for the crash report's stack walk and formatting after a
// stack overflow has used up the thread's own stack.
constexpr size_t kAltStackSize = 256 * 1024;

struct HookedSignal {
    int signal;
    bool hooked;
    struct sigaction previous;
};

std::atomic<CrashCallback> g_callback{nullptr};
HookedSignal g_hooked[kSignalCount];
void* g_altStack = nullptr;

HookedSignal* findHooked(int signal) {
    for (HookedSignal& h : g_hooked)
        if (h.hooked && h.signal == signal)
            return &h;
    return nullptr;
}

CrashInfo crashInfoOf(int signal, const siginfo_t* si, const void* context) {
    CrashInfo info{0, static_cast<uint32_t>(signal), 0, 0};
#if defined(__x86_64__)
    const auto* uc = static_cast<const ucontext_t*>(context);
    info.pc = static_cast<uint64_t>(uc->uc_mcontext.gregs[REG_RIP]);
    info.frame = static_cast<uint64_t>(uc->uc_mcontext.gregs[REG_RBP]);
    info.address = info.pc;
#else
    (void)context;
    // Without the register layout, the fault address is the best there is.
    info.address = reinterpret_cast<uint64_t>(si->si_addr);
    info.pc = info.address;
#endif
    (void)si;
    return info;
}

// Hands the signal to whoever had it before the hook.
void passOn(int signal, siginfo_t* si, void* context) {
    HookedSignal* h = findHooked(signal);
    const struct sigaction* previous = h ? &h->previous : nullptr;
    if (previous && (previous->sa_flags & SA_SIGINFO) && previous->sa_sigaction) {
        previous->sa_sigaction(signal, si, context);
        return;
    }
    if (previous && previous->sa_handler == SIG_IGN)
        return;
    if (previous && previous->sa_handler != SIG_DFL) {
        previous->sa_handler(signal);
        return;
    }
    // Default action: end the process by this very signal, as it would have
    // ended without the hook. The signal is blocked while this handler runs,
    // so raise() leaves it pending until the handler returns; a hardware
    // fault would also repeat by itself when its instruction is re-run.
    struct sigaction dfl;
    memset(&dfl, 0, sizeof dfl);
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(signal, &dfl, nullptr);
    raise(signal);
}

void onFatalSignal(int signal, siginfo_t* si, void* context) {
    if (CrashCallback callback = g_callback.load(std::memory_order_acquire))
        callback(crashInfoOf(signal, si, context));
    passOn(signal, si, context);
}

bool isOurs(const struct sigaction& action) {
    return (action.sa_flags & SA_SIGINFO) && action.sa_sigaction == onFatalSignal;
}

// Gives the calling thread a stack for signal handlers unless it has one, so
// that a stack overflow can still be reported.
void ensureAltStack() {
    stack_t current;
    if (sigaltstack(nullptr, &current) != 0 || !(current.ss_flags & SS_DISABLE))
        return;
    if (!g_altStack) {
        void* mem = mmap(nullptr, kAltStackSize, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mem == MAP_FAILED)
            return;
        g_altStack = mem;
    }
    stack_t ours;
    ours.ss_sp = g_altStack;
    ours.ss_size = kAltStackSize;
    ours.ss_flags = 0;
    sigaltstack(&ours, nullptr);
}

void releaseAltStack() {
    if (!g_altStack)
        return;
    stack_t current;
    if (sigaltstack(nullptr, &current) != 0 || current.ss_sp != g_altStack ||
        (current.ss_flags & SS_ONSTACK))
        return;
    stack_t off;
    memset(&off, 0, sizeof off);
    off.ss_flags = SS_DISABLE;
    if (sigaltstack(&off, nullptr) == 0) {
        munmap(g_altStack, kAltStackSize);
        g_altStack = nullptr;
    }
}

}  // namespace

bool installCrashHook(int mode, CrashCallback callback) {
    const int* signals = nullptr;
    int count = 0;
    if (mode == 1) {
        signals = kFatalSignals;
        count = kSignalCount;
    } else if (mode == 2) {
        signals = kAccessSignals;
        count = sizeof kAccessSignals / sizeof kAccessSignals[0];
    } else {
        return false;
    }
    removeCrashHook();
    g_callback.store(callback, std::memory_order_release);
    ensureAltStack();
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_sigaction = onFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    bool all = true;
    for (int i = 0; i < count; ++i) {
        HookedSignal& h = g_hooked[i];
        // Left in place by an earlier removal because a later handler was
        // stacked on top of it: that handler still chains to this one.
        if (h.hooked)
            continue;
        h.signal = signals[i];
        if (sigaction(h.signal, &action, &h.previous) != 0) {
            all = false;
            continue;
        }
        h.hooked = true;
    }
    return all;
}

void removeCrashHook() {
    g_callback.store(nullptr, std::memory_order_release);
    for (HookedSignal& h : g_hooked) {
        if (!h.hooked)
            continue;
        struct sigaction current;
        if (sigaction(h.signal, nullptr, &current) != 0 || !isOurs(current))
            continue;  // someone installed over us and may still chain to us
        sigaction(h.signal, &h.previous, nullptr);
        h.hooked = false;
    }
    releaseAltStack();
}

}  // namespace platform
