// The symboliser of the POSIX platform layer: libdw from elfutils, loaded at
// run time on first use. A process without libdw keeps working; its stacks
// simply stay unresolved, as the runtime expects without a symbol library.
//
// The few libdw declarations needed are written out here, so building needs
// no elfutils headers; they follow the stable libdw.so.1 interface.
#include "runtime/platform/platform.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

struct Dwfl;
struct DwflModule;
struct DwflLine;
using DwarfAddr = uint64_t;

using FindElfFn = int (*)(DwflModule*, void**, const char*, DwarfAddr, char**, void**);
using FindDebuginfoFn = int (*)(DwflModule*, void**, const char*, DwarfAddr, const char*,
                                const char*, uint32_t, char**);
using SectionAddressFn = int (*)(DwflModule*, void**, const char*, DwarfAddr, const char*,
                                 uint32_t, const void*, DwarfAddr*);

// Layout of Dwfl_Callbacks.
struct DwflCallbacks {
    FindElfFn findElf;
    FindDebuginfoFn findDebuginfo;
    SectionAddressFn sectionAddress;
    char** debuginfoPath;
};

struct LibDw {
    Dwfl* (*begin)(const DwflCallbacks*);
    void (*reportBegin)(Dwfl*);
    int (*linuxProcReport)(Dwfl*, pid_t);
    int (*reportEnd)(Dwfl*, int (*)(DwflModule*, void*, const char*, DwarfAddr, void*), void*);
    DwflModule* (*addrModule)(Dwfl*, DwarfAddr);
    const char* (*moduleAddrName)(DwflModule*, DwarfAddr);
    DwflLine* (*moduleGetSrc)(DwflModule*, DwarfAddr);
    const char* (*lineInfo)(DwflLine*, DwarfAddr*, int*, int*, uint64_t*, uint64_t*);
    const char* (*moduleInfo)(DwflModule*, void***, DwarfAddr*, DwarfAddr*, DwarfAddr*,
                              DwarfAddr*, const char**, const char**);
};

// -1 not tried yet, 0 tried and unavailable, 1 ready. A failed load is not
// retried. Like the rest of the runtime, first use is on one thread.
int g_state = -1;
LibDw g_dw;
DwflCallbacks g_callbacks;
Dwfl* g_session = nullptr;

template <typename Fn>
bool resolve(void* lib, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(dlsym(lib, name));
    return fn != nullptr;
}

// Tells libdw which modules the process has mapped now.
bool reportModules() {
    g_dw.reportBegin(g_session);
    int failed = g_dw.linuxProcReport(g_session, getpid());
    return g_dw.reportEnd(g_session, nullptr, nullptr) == 0 && failed == 0;
}

bool load() {
    void* lib = dlopen("libdw.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!lib)
        return false;
    bool complete = resolve(lib, "dwfl_begin", g_dw.begin) &&
                    resolve(lib, "dwfl_report_begin", g_dw.reportBegin) &&
                    resolve(lib, "dwfl_linux_proc_report", g_dw.linuxProcReport) &&
                    resolve(lib, "dwfl_report_end", g_dw.reportEnd) &&
                    resolve(lib, "dwfl_addrmodule", g_dw.addrModule) &&
                    resolve(lib, "dwfl_module_addrname", g_dw.moduleAddrName) &&
                    resolve(lib, "dwfl_module_getsrc", g_dw.moduleGetSrc) &&
                    resolve(lib, "dwfl_lineinfo", g_dw.lineInfo) &&
                    resolve(lib, "dwfl_module_info", g_dw.moduleInfo) &&
                    resolve(lib, "dwfl_linux_proc_find_elf", g_callbacks.findElf) &&
                    resolve(lib, "dwfl_standard_find_debuginfo", g_callbacks.findDebuginfo);
    if (!complete)
        return false;
    g_session = g_dw.begin(&g_callbacks);
    return g_session != nullptr && reportModules();
}

void copyText(char* to, size_t size, const char* from) {
    if (!from) {
        to[0] = '\0';
        return;
    }
    size_t len = strnlen(from, size - 1);
    memcpy(to, from, len);
    to[len] = '\0';
}

// Symbol tables hold mangled names; the frame lines show what the source says.
void copySymbol(char* to, size_t size, const char* mangled) {
    int status = -1;
    char* plain = mangled ? abi::__cxa_demangle(mangled, nullptr, nullptr, &status) : nullptr;
    copyText(to, size, status == 0 ? plain : mangled);
    free(plain);
}

}  // namespace

bool symbolizerReady() {
    if (g_state < 0)
        g_state = load() ? 1 : 0;
    return g_state == 1;
}

bool symbolize(uint64_t address, FrameInfo& out) {
    if (!symbolizerReady())
        return false;
    out.file[0] = '\0';
    out.line = 0;
    out.symbol[0] = '\0';
    out.module[0] = '\0';
    out.moduleBase = 0;
    DwflModule* module = g_dw.addrModule(g_session, address);
    // A library loaded after the last report is not known yet: report again.
    if (!module && reportModules())
        module = g_dw.addrModule(g_session, address);
    if (!module)
        return true;
    DwarfAddr start = 0;
    DwarfAddr end = 0;
    const char* name =
        g_dw.moduleInfo(module, nullptr, &start, &end, nullptr, nullptr, nullptr, nullptr);
    // libdw may answer with a neighbouring module for an address outside
    // every module (stack, heap): only a module that spans it counts.
    if (address < start || address >= end)
        return true;
    copyText(out.module, sizeof out.module, name);
    out.moduleBase = start;
    copySymbol(out.symbol, sizeof out.symbol, g_dw.moduleAddrName(module, address));
    if (DwflLine* line = g_dw.moduleGetSrc(module, address)) {
        int lineNo = 0;
        copyText(out.file, sizeof out.file,
                 g_dw.lineInfo(line, nullptr, &lineNo, nullptr, nullptr, nullptr));
        out.line = lineNo;
    }
    return true;
}

}  // namespace platform
