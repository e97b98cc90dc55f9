// The symboliser of the Win32 platform layer: "dbghelp.dll", loaded at run
// time on first use with the seven functions the stack walk and the frame
// lines need. A process without it keeps working; its stacks simply stay
// empty, as the runtime expects without a symbol library.
#include "runtime/platform/platform.h"

#include <windows.h>
#include <dbghelp.h>

#include <cxxabi.h>

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

struct dbgHelpS {
    decltype(&::StackWalk64) stackWalk;
    decltype(&::SymInitialize) initialize;
    decltype(&::SymSetOptions) setOptions;
    decltype(&::SymGetLineFromAddr64) lineFromAddr;
    decltype(&::SymFromAddr) fromAddr;
    decltype(&::SymFunctionTableAccess64) functionTableAccess;
    decltype(&::SymGetModuleBase64) moduleBase;
};

// -1 not tried yet, 0 tried and unavailable, 1 ready.
int g_state = -1;
HMODULE g_library = nullptr;
HANDLE g_process = nullptr;
dbgHelpS g_help;

// Deferred symbol loads and line information.
constexpr DWORD kSymbolOptions = 0x14;

#if defined(__x86_64__)
constexpr DWORD kMachine = IMAGE_FILE_MACHINE_AMD64;
#elif defined(__aarch64__)
constexpr DWORD kMachine = IMAGE_FILE_MACHINE_ARM64;
#else
constexpr DWORD kMachine = IMAGE_FILE_MACHINE_I386;
#endif

template <typename Fn>
bool resolve(const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(g_library, name)));
    return fn != nullptr;
}

void load() {
    g_state = 0;
    g_process = GetCurrentProcess();
    g_library = LoadLibraryA("dbghelp.dll");
    if (!g_library)
        return;
    // In this order; the first one missing ends the attempt.
    if (!resolve("StackWalk64", g_help.stackWalk) || !resolve("SymInitialize", g_help.initialize) ||
        !resolve("SymSetOptions", g_help.setOptions) ||
        !resolve("SymGetLineFromAddr64", g_help.lineFromAddr) ||
        !resolve("SymFromAddr", g_help.fromAddr) ||
        !resolve("SymFunctionTableAccess64", g_help.functionTableAccess) ||
        !resolve("SymGetModuleBase64", g_help.moduleBase))
        return;
    g_help.setOptions(kSymbolOptions);
    if (g_help.initialize(g_process, nullptr, TRUE))
        g_state = 1;
}

void copyText(char* to, size_t size, const char* from) {
    size_t len = from ? strlen(from) : 0;
    if (len >= size)
        len = size - 1;
    if (len)
        memcpy(to, from, len);
    to[len] = '\0';
}

// Debugging information of GCC-built modules names functions by their
// linkage names; the frame lines show what the source says.
void copySymbol(char* to, size_t size, const char* name) {
    int status = -1;
    char* plain = strncmp(name, "_Z", 2) == 0
                      ? abi::__cxa_demangle(name, nullptr, nullptr, &status)
                      : nullptr;
    copyText(to, size, status == 0 ? plain : name);
    free(plain);
}

}  // namespace

bool symbolizerReady() {
    if (g_state < 0)
        load();
    return g_state == 1;
}

// The library stays loaded: other modules of the process may hold the
// same session, and a failed load is never retried either.
void releaseSymbolizer() {}

bool symbolize(uint64_t address, FrameInfo& out) {
    out.file[0] = out.symbol[0] = out.module[0] = '\0';
    out.line = 0;
    out.moduleBase = out.symbolAddress = 0;
    if (!symbolizerReady())
        return false;
    IMAGEHLP_LINE64 line;
    memset(&line, 0, sizeof line);
    line.SizeOfStruct = sizeof line;
    DWORD lineOffset = 0;
    if (g_help.lineFromAddr(g_process, address, &lineOffset, &line)) {
        copyText(out.file, sizeof out.file, line.FileName);
        out.line = static_cast<int>(line.LineNumber);
    }
    // A name of up to 255 characters after the record.
    alignas(SYMBOL_INFO) char storage[sizeof(SYMBOL_INFO) + 256];
    auto* symbol = reinterpret_cast<SYMBOL_INFO*>(storage);
    memset(storage, 0, sizeof storage);
    symbol->SizeOfStruct = sizeof(SYMBOL_INFO);
    symbol->MaxNameLen = 256;
    DWORD64 displacement = 0;
    if (g_help.fromAddr(g_process, address, &displacement, symbol)) {
        copySymbol(out.symbol, sizeof out.symbol, symbol->Name);
        out.symbolAddress = symbol->Address;
    }
    out.moduleBase = g_help.moduleBase(g_process, address);
    if (out.moduleBase != 0) {
        const DWORD len = GetModuleFileNameA(reinterpret_cast<HMODULE>(out.moduleBase), out.module,
                                             sizeof out.module - 1);
        out.module[len < sizeof out.module ? len : 0] = '\0';
    }
    return true;
}

// The seven functions give no account of inline expansions: every frame
// is shown with the line its address resolves to.
int inlineCallSites(uint64_t, CallSite*, int) { return 0; }

// The compiler's unwind tables (what SymFunctionTableAccess64 hands the
// walker) are the one sound way up the stack here: the x64 frame pointer
// of this platform points into the middle of a frame, not at the saved one.
__attribute__((noinline)) int captureStack(uint64_t* out, int max, int skip) {
    if (!out || max <= 0)
        return 0;
    out[0] = 0;
    if (!symbolizerReady())
        return 0;
    CONTEXT context;
    memset(&context, 0, sizeof context);
    RtlCaptureContext(&context);
    STACKFRAME64 frame;
    memset(&frame, 0, sizeof frame);
#if defined(__x86_64__)
    frame.AddrPC.Offset = context.Rip;
    frame.AddrFrame.Offset = context.Rbp;
    frame.AddrStack.Offset = context.Rsp;
#elif defined(__aarch64__)
    frame.AddrPC.Offset = context.Pc;
    frame.AddrFrame.Offset = context.Fp;
    frame.AddrStack.Offset = context.Sp;
#else
    frame.AddrPC.Offset = context.Eip;
    frame.AddrFrame.Offset = context.Ebp;
    frame.AddrStack.Offset = context.Esp;
#endif
    frame.AddrPC.Mode = frame.AddrFrame.Mode = frame.AddrStack.Mode = AddrModeFlat;
    // The first frame is captureStack's own (the captured context), the
    // second its caller F's: the capture starts with F's caller.
    int toSkip = 2 + (skip > 0 ? skip : 0);
    int count = 0;
    HANDLE thread = GetCurrentThread();
    while (count < max &&
           g_help.stackWalk(kMachine, g_process, thread, &frame, &context, nullptr,
                            g_help.functionTableAccess, g_help.moduleBase, nullptr) &&
           frame.AddrPC.Offset != 0) {
        if (toSkip > 0) {
            --toSkip;
            continue;
        }
        out[count++] = frame.AddrPC.Offset;
    }
    if (count < max)
        out[count] = 0;
    return count;
}

}  // namespace platform
