// The interrupt guard on POSIX: sigaction handlers for SIGINT, SIGTERM and
// SIGHUP, and holds that block the three in the calling thread.
#include "interruptGuard.h"
#include "interruptSlots.h"
#include "progress.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>

namespace {

struct guardedSignalS {
    int number;
    const char* name;
};

constexpr guardedSignalS kSignals[] = {{SIGINT, "SIGINT"}, {SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

struct sigaction g_previous[kSignalCount];
bool g_installed[kSignalCount];

sigset_t guardedSet() {
    sigset_t set;
    sigemptyset(&set);
    for (const guardedSignalS& guarded : kSignals)
        sigaddset(&set, guarded.number);
    return set;
}

void writeAll(const char* bytes, size_t n) {
    while (n > 0) {
        const ssize_t wrote = write(STDERR_FILENO, bytes, n);
        if (wrote <= 0)
            return;
        bytes += wrote;
        n -= static_cast<size_t>(wrote);
    }
}

void removeFile(const char* path) { unlink(path); }

// Only async-signal-safe calls from here on: unlink, write, sigaction and
// raise. The other two signals are ignored from now on, so that the process
// ends by this one, whatever else arrives.
void onInterrupt(int number) {
    interruptSlots::forEach(removeFile);
    const char* name = "a signal";
    for (const guardedSignalS& guarded : kSignals)
        if (guarded.number == number)
            name = guarded.name;
    // The progress line stays visible above: it shows how far the command got.
    if (progressLineShown())
        writeAll("\n", 1);
    char line[96];
    writeAll(line, interruptLine(name, line, sizeof line));
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    sigemptyset(&action.sa_mask);
    for (const guardedSignalS& guarded : kSignals) {
        action.sa_handler = guarded.number == number ? SIG_DFL : SIG_IGN;
        sigaction(guarded.number, &action, nullptr);
    }
    // Blocked while this handler runs: delivered, with its default action,
    // as soon as the handler returns.
    raise(number);
}

}  // namespace

interruptGuardC::interruptGuardC() {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onInterrupt;
    // One handler at a time: a second signal waits until the first one has
    // ended the process.
    action.sa_mask = guardedSet();
    for (int i = 0; i < kSignalCount; ++i) {
        sigaction(kSignals[i].number, nullptr, &g_previous[i]);
        g_installed[i] = g_previous[i].sa_handler != SIG_IGN;
        if (g_installed[i])
            sigaction(kSignals[i].number, &action, nullptr);
    }
}

interruptGuardC::~interruptGuardC() {
    for (int i = 0; i < kSignalCount; ++i)
        if (g_installed[i])
            sigaction(kSignals[i].number, &g_previous[i], nullptr);
}

// The mask of the outermost hold of each thread, which the last one to end
// restores.
thread_local int t_holds = 0;
thread_local sigset_t t_unheld;

interruptHoldC::interruptHoldC() {
    if (t_holds++ > 0)
        return;
    const sigset_t set = guardedSet();
    pthread_sigmask(SIG_BLOCK, &set, &t_unheld);
}

interruptHoldC::~interruptHoldC() {
    // A signal that arrived meanwhile is delivered here.
    if (--t_holds == 0)
        pthread_sigmask(SIG_SETMASK, &t_unheld, nullptr);
}

void keepInterruptsOffThisThread() {
    const sigset_t set = guardedSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}
