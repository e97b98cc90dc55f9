// The crash handler: hooks the process's fatal faults and the C++ runtime's
// pure virtual call so that each leaves an entry in the crash log
// (crashLog.h), then lets the process end as it would have without it.
//
// QVDBG_EXCEPTIONHANDLER, read once at installation as an integer, chooses
// the hook:
//   1, 0 or absent  every fatal signal (SIGSEGV, SIGBUS, SIGILL, SIGFPE,
//                   SIGABRT) is logged, then handed on;
//   2               access violations (SIGSEGV, SIGBUS) only, logged at first
//                   notice, also when the program recovers from them;
//   anything else   no signal hook.
// The pure virtual call is logged in every mode.
#pragma once

class crashHandlerC {
public:
    // Hooks as QVDBG_EXCEPTIONHANDLER says; an earlier installation is
    // removed first.
    void install();
    // Puts the previous handlers back.
    void uninstall();
    // The mode read at installation (1 for an absent or 0 value); 0 while not
    // installed.
    int mode() const { return mode_; }

private:
    int mode_ = 0;
    bool signalsHooked_ = false;
};

// The module's one crash handler; its start-up sequence installs it last and
// its unload removes it first.
crashHandlerC& crashHandler();
void crashHandlerInstall();
void crashHandlerUninstall();
