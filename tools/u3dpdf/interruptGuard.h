// What an interrupted command leaves behind: nothing it created.
//
// While an interruptGuardC lives, SIGINT, SIGTERM and SIGHUP (on Windows the
// console's Ctrl-C, Ctrl-Break and close events) remove every file that a
// guardedFileC has registered, print one line on standard error and end the
// process by the same signal, its default action restored, so that a shell
// or a script sees an interruption (128 + the signal number, 130 for Ctrl-C)
// and not a failure of the command. A signal that was ignored when the guard
// was made (nohup, a background job of a non-interactive shell) stays
// ignored.
//
// The removal runs inside the signal handler: the registered paths live in
// fixed storage and are removed with plain system calls, without allocation
// or stdio.
#pragma once

#include <string>

class interruptGuardC {
public:
    interruptGuardC();
    // Restores the handlers that were there before.
    ~interruptGuardC();
    interruptGuardC(const interruptGuardC&) = delete;
    interruptGuardC& operator=(const interruptGuardC&) = delete;
};

// Defers interruptions while it lives. A file is created and registered, or
// removed and unregistered, inside one, so that no interruption falls
// between the two halves (a file left behind, or a name removed that
// another process has taken meanwhile). Holds nest; keep them short.
class interruptHoldC {
public:
    interruptHoldC();
    ~interruptHoldC();
    interruptHoldC(const interruptHoldC&) = delete;
    interruptHoldC& operator=(const interruptHoldC&) = delete;
};

// A file that the command has created, or a name that only this process
// will create (one made from its process id): removed when the command is
// interrupted, and by the destructor unless released.
class guardedFileC {
public:
    // Registers path; the caller has created the file inside an
    // interruptHoldC that is still held. An input error, the file removed,
    // when the path is too long for the handler's storage or too many files
    // are registered.
    explicit guardedFileC(const std::string& path);
    // Removes the file, when still there and not released.
    ~guardedFileC();
    guardedFileC(const guardedFileC&) = delete;
    guardedFileC& operator=(const guardedFileC&) = delete;

    const std::string& path() const { return path_; }
    // Unregisters the file without removing it: it is someone else's now.
    void release();

private:
    std::string path_;
    int slot_ = -1;
};

// Keeps interruptions away from the calling thread, for a helper thread
// (the progress clock): they then reach the thread that creates the files,
// whose holds defer them.
void keepInterruptsOffThisThread();
