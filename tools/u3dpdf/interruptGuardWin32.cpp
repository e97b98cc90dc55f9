// The interrupt guard on Windows: a console control handler for Ctrl-C,
// Ctrl-Break and the closing of the console.
//
// The system runs the handler on a thread of its own while the command
// goes on, so a hold is a lock that the handler takes and never gives back:
// the command then cannot register another file, nor create one, since it
// does both inside a hold. Returning FALSE hands the event to the next
// handler, in the end the system's default one, which ends the process as
// an unguarded one would end (STATUS_CONTROL_C_EXIT).
#include "interruptGuard.h"
#include "interruptSlots.h"
#include "progress.h"

#include <windows.h>

namespace {

// Initialised on first use; a critical section may not be moved.
CRITICAL_SECTION& holdLock() {
    static CRITICAL_SECTION lock;
    static const bool initialised = (InitializeCriticalSection(&lock), true);
    (void)initialised;
    return lock;
}

void writeAll(const char* bytes, DWORD n) {
    DWORD wrote = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), bytes, n, &wrote, nullptr);
}

void removeFile(const char* path) { DeleteFileA(path); }

const char* eventName(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
        return "Ctrl-C";
    case CTRL_BREAK_EVENT:
        return "Ctrl-Break";
    case CTRL_CLOSE_EVENT:
        return "the closing of its console";
    default:
        return nullptr;
    }
}

BOOL WINAPI onConsoleEvent(DWORD event) {
    const char* name = eventName(event);
    if (!name)
        return FALSE;
    EnterCriticalSection(&holdLock());
    interruptSlots::forEach(removeFile);
    if (progressLineShown())
        writeAll("\n", 1);
    char line[96];
    writeAll(line, static_cast<DWORD>(interruptLine(name, line, sizeof line)));
    return FALSE;
}

}  // namespace

interruptGuardC::interruptGuardC() {
    holdLock();
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

interruptGuardC::~interruptGuardC() { SetConsoleCtrlHandler(onConsoleEvent, FALSE); }

interruptHoldC::interruptHoldC() { EnterCriticalSection(&holdLock()); }

interruptHoldC::~interruptHoldC() { LeaveCriticalSection(&holdLock()); }

// The handler has a thread of its own: no thread needs to keep it away.
void keepInterruptsOffThisThread() {}
