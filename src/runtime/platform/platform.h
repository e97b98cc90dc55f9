// The operating-system services the runtime needs, and nothing else.
//
// This header is the only door to the operating system: posix*.cpp implement
// it with POSIX and glibc calls, win32*.cpp with the Win32 calls the
// diagnostics were designed around. Nothing here allocates through
// the pooled allocator, so the allocator itself may call any of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace platform {

// ---- clocks and identities -------------------------------------------------

// High-resolution monotonic counter, in ticks of counterFrequency() per second.
uint64_t counter();
uint64_t counterFrequency();

// Wall clock (UTC) as a 64-bit count of 100-nanosecond units. Only
// toLocalTime() interprets it.
uint64_t wallClock();

struct LocalTime {
    int hour;
    int minute;
    int second;
    int millisecond;
};
LocalTime toLocalTime(uint64_t wallClockValue);

// Suspends the calling thread for the given time. Async-signal-safe.
void sleepMilliseconds(int milliseconds);

uint32_t threadId();
uint32_t processId();
// Creation time of the current process, stable for its whole life and
// different for every process instance (together with the id).
uint64_t processStartTime();

// ---- modules and files -----------------------------------------------------

// Writes the file name (no directory) of the loaded module that contains
// `address` into buf; false when no module contains it or buf is too small.
bool moduleFileName(const void* address, char* buf, size_t size);
// The same with the full path of the module file.
bool modulePath(const void* address, char* buf, size_t size);

// True when the path exists and the process may read it.
bool canRead(const char* path);

// Opens a new file for binary writing ("wb"), only when no file of that name
// exists yet: null with errno EEXIST when one does (or errno of another
// failure). fopen's "x" does this in C11, but not every C runtime knows it:
// Windows' msvcrt.dll ignores it and truncates the existing file.
std::FILE* createNewFile(const char* path);

// Opens an existing file for binary reading ("rb") without keeping others
// from deleting it meanwhile: on Win32 a file open without FILE_SHARE_DELETE
// cannot be deleted, and the host that lent it may have to remove it while
// it is read (an interrupted conversion). Null with errno on failure.
std::FILE* openForReading(const char* path);

// Opens a new file for binary writing in the directory dir that has no name
// yet (Linux: O_TMPFILE), so that a process that ends before naming it, even
// by SIGKILL or a power loss, leaves nothing behind. Null where the system or
// the directory's file system offers no such files, or on any other failure
// (errno tells): the caller then takes a named file, whose own errors are
// the ones to report.
std::FILE* createUnnamedFile(const char* dir);
// Flushes a file from createUnnamedFile and gives it the name path, which
// must not exist yet; false with errno (EEXIST when the name is taken).
// The file stays open.
bool nameUnnamedFile(std::FILE* file, const char* path);

// Appends n bytes of text to the file at path, creating it when needed, in
// the platform's text file form (on Win32 every LF becomes CR LF, as the C
// runtime's text mode writes it); false when the file cannot be opened. A
// plain open/write/close without allocation or stdio: async-signal-safe, so
// the crash path may use it.
bool appendToFile(const char* path, const char* bytes, size_t n);

// The directory for diagnostic files when none of the temporary-directory
// variables names one ("/tmp" on POSIX, "c:" on Win32), without a trailing
// separator.
const char* defaultTempDirectory();

// ---- environment -------------------------------------------------------------

// The variable's value, or null when it is not set. The pointer stays valid
// until the variable is changed.
const char* getEnv(const char* name);
// Sets the variable; a null value removes it.
void setEnv(const char* name, const char* value);

// ---- stacks and symbols ------------------------------------------------------

// A captured call stack: up to kStackDepth return addresses, ended by a zero
// entry when shorter.
constexpr int kStackDepth = 16;

// Fills out[0..max) with return addresses of the calling thread. When F calls
// captureStack and G called F, out[0] is the return address of F's frame,
// which lies inside G just after its call of F; `skip` drops that many further
// frames first. A return address points behind its call instruction: look up
// address - 1 for the line of the call. A capture shorter than max is ended
// by a 0 entry, a full one is not. Returns the number of addresses recorded.
// Never allocates through operator new.
int captureStack(uint64_t* out, int max, int skip);

// Whether saved frame pointers form a chain that a walker can follow: on
// x86-64 Win32 the compiler points the frame register into the middle of
// a frame (the unwind tables have to be within reach of it), so only the
// unwinder (captureStack) finds the callers there.
#if defined(_WIN32)
constexpr bool kFramePointerChain = false;
#else
constexpr bool kFramePointerChain = true;
#endif

// Loads the symboliser on first use; true when it can resolve addresses.
bool symbolizerReady();
// Unloads the symboliser and frees its session; the next use loads it again.
// A module calls it last at unload, so that loading and unloading it over and
// over leaves nothing behind in the host.
void releaseSymbolizer();

struct FrameInfo {
    char file[1024];    // source file, empty when unknown
    int line;           // 0 when unknown
    char symbol[256];   // function name, empty when unknown
    char module[1024];  // path of the module file, empty when unknown
    uint64_t moduleBase;
    uint64_t symbolAddress;  // start of the function, 0 when unknown
};
// Resolves what the symboliser knows about a code address; false when the
// symboliser is not available. Fields it cannot resolve stay empty/0. The
// symboliser allocates (malloc) and is not async-signal-safe.
bool symbolize(uint64_t address, FrameInfo& out);

// Where the functions inlined at a code address were called: for each
// inline expansion around the address, innermost first, the file and line
// of its call in the enclosing function. Returns the number of entries
// written (at most max), 0 when the address lies in no inline expansion or
// the symboliser is not available. The texts belong to the symboliser and
// stay valid while it is loaded.
struct CallSite {
    const char* file;
    int line;
};
int inlineCallSites(uint64_t address, CallSite* out, int max);

// Copies up to n bytes from address into out, stopping at the first byte
// that cannot be read; returns the number of bytes copied. Never faults.
size_t readMemory(const void* address, void* out, size_t n);

// True when address lies in the code of a loaded module (an executable
// segment). Not async-signal-safe.
bool isExecutable(const void* address);

// ---- process heaps ------------------------------------------------------------

// The first problem found in one heap of the process; each heap is walked
// until its first problem.
enum class HeapProblem {
    Node,       // the walk itself failed before the end of the entries
    Block,      // a busy entry that does not validate
    DataPtr,    // a busy entry whose data cannot be read or written
    Structure,  // the heap's structure could not be walked at all
};
struct HeapIssue {
    HeapProblem problem;
    const void* data;  // the entry's data pointer
};
// Walks every heap of the process (at most 1024), locked one at a time,
// and writes at most max issues to out; returns their number. A platform
// whose allocator cannot be walked without trusting the very lists a check
// would doubt reports none.
int checkProcessHeaps(HeapIssue* out, int max);

// ---- crash hooks -------------------------------------------------------------

struct CrashInfo {
    uint64_t address;   // faulting instruction (on POSIX the same as pc)
    uint32_t code;      // signal number (POSIX) or exception code (Win32)
    uint64_t pc;        // program counter and frame pointer of the faulting
    uint64_t frame;     // context, for walking its stack
};
// Called inside the fault: may only use async-signal-safe services.
using CrashCallback = void (*)(const CrashInfo& info);

// mode 1: every fatal fault; mode 2: access violations at first notice;
// anything else installs nothing. The previous handlers are kept and run after
// the callback, so the process ends as it would have without the hook.
bool installCrashHook(int mode, CrashCallback callback);
void removeCrashHook();

// Called when a pure virtual function is called, before the process ends.
void setPureVirtualHandler(void (*handler)());

// ---- guarded work --------------------------------------------------------------
//
// Runs work that may not end, or that needs more stack than a signal handler
// has, from inside a crash hook: resolving symbols allocates, and a fault that
// struck while the heap's lock was held makes that allocation wait for ever;
// the symboliser also keeps tables of some 200 KiB on the stack.

// Sets up the stack that guarded work runs on; done outside any signal
// handler (the crash handler does it at installation). Without it the work
// runs on the caller's stack.
void reserveGuardedStack();
// Gives that stack back.
void releaseGuardedStack();
// Runs work(context) on the calling thread, on the reserved stack; false when
// it was cut off after the given number of seconds. The process's own alarm
// and its handler are restored afterwards. One caller at a time; may be
// called inside a crash hook.
bool runGuarded(void (*work)(void*), void* context, unsigned seconds);

// ---- output -------------------------------------------------------------------

// Where reports go when no file is configured (the debugger output channel;
// standard error on POSIX).
void debugOutput(const char* text);

}  // namespace platform
