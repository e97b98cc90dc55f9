// Runs the part of the crash path that is not async-signal-safe: resolving
// symbols. Two things can go wrong there that would otherwise turn a crash
// into something worse.
//
// Time: resolving allocates. When the fault struck while the thread held the
// heap's lock (glibc reports heap corruption by aborting from inside malloc),
// that allocation waits for itself for ever, and a process that should have
// died hangs instead. The work is cut off after a time.
//
// Stack: the symboliser keeps large tables on the stack (some 200 KiB for a
// line table), more than signal stacks offer (sanitizers and many hosts set
// up 32 or 64 KiB). The work runs on a stack of its own.
#pragma once

// Sets up the work stack; the crash handler does it at installation, outside
// any signal handler. Without it the work runs on the caller's stack.
void crashWatchdogPrepare();
// Gives the work stack back.
void crashWatchdogRelease();

// Runs work(context) on the calling thread, on the work stack; false when it
// was cut off after the given number of seconds. The signal disposition and
// the pending alarm of the process are restored afterwards. One caller at a
// time. POSIX only (SIGALRM, ucontext).
bool crashRunWatched(void (*work)(void*), void* context, unsigned seconds);
