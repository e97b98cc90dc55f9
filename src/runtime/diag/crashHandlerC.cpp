#include "runtime/diag/crashHandlerC.h"

#include "runtime/diag/crashLog.h"
#include "runtime/diag/stackWalk.h"
#include "runtime/platform/platform.h"

#include <atomic>
#include <cstdlib>

namespace {

constexpr char kModeVariable[] = "QVDBG_EXCEPTIONHANDLER";
constexpr int kHookFatalSignals = 1;
constexpr int kHookAccessViolations = 2;

// Set once a pure virtual call has been logged: the abort that follows it is
// the end already reported, not a second crash.
std::atomic<bool> g_endLogged{false};

int modeFromEnvironment() {
    const char* value = platform::getEnv(kModeVariable);
    const int mode = value ? atoi(value) : 0;
    return mode == 0 ? kHookFatalSignals : mode;
}

// Runs inside the signal handler (see writeCrashLog for what that allows).
void onCrash(const platform::CrashInfo& info) {
    if (g_endLogged.load(std::memory_order_acquire))
        return;
    uint64_t stack[kCapturedStackEntries];
    walkStack(info.pc, info.frame, stack);
    writeCrashLog(&info, stack);
}

void onPureVirtualCall() {
    uint64_t stack[kCapturedStackEntries];
    captureStack(stack);
    writeCrashLog(nullptr, stack);
    g_endLogged.store(true, std::memory_order_release);
}

}  // namespace

void crashHandlerC::install() {
    uninstall();
    mode_ = modeFromEnvironment();
    g_endLogged.store(false, std::memory_order_release);
    platform::reserveGuardedStack();
    if (mode_ == kHookFatalSignals || mode_ == kHookAccessViolations) {
        // Loading a library inside a signal handler is out of the question;
        // loaded now, the handler only has to resolve addresses.
        debugHelpReady();
        platform::installCrashHook(mode_, onCrash);
        // Also after a partial failure: removal puts back what was hooked.
        signalsHooked_ = true;
    }
    platform::setPureVirtualHandler(onPureVirtualCall);
}

void crashHandlerC::uninstall() {
    if (mode_ == 0)
        return;
    if (signalsHooked_)
        platform::removeCrashHook();
    platform::setPureVirtualHandler(nullptr);
    platform::releaseGuardedStack();
    signalsHooked_ = false;
    mode_ = 0;
}

crashHandlerC& crashHandler() {
    static crashHandlerC handler;
    return handler;
}

void crashHandlerInstall() { crashHandler().install(); }

void crashHandlerUninstall() { crashHandler().uninstall(); }
