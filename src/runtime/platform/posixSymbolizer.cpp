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

// Layouts of Dwarf_Die and Dwarf_Attribute: filled in by libdw, only the
// size matters here.
struct DwarfDie {
    void* addr;
    void* cu;
    void* abbrev;
    long padding;
};
struct DwarfAttribute {
    unsigned int code;
    unsigned int form;
    unsigned char* valp;
    void* cu;
};
struct DwarfFiles;

constexpr int kTagInlinedSubroutine = 0x1d;
constexpr unsigned kAttributeCallFile = 0x58;
constexpr unsigned kAttributeCallLine = 0x59;

// Layout of GElf_Sym (Elf64_Sym).
struct ElfSymbol {
    uint32_t name;
    unsigned char info;
    unsigned char other;
    uint16_t section;
    uint64_t value;
    uint64_t size;
};

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
    void (*end)(Dwfl*);
    void (*reportBegin)(Dwfl*);
    int (*linuxProcReport)(Dwfl*, pid_t);
    int (*reportEnd)(Dwfl*, int (*)(DwflModule*, void*, const char*, DwarfAddr, void*), void*);
    DwflModule* (*addrModule)(Dwfl*, DwarfAddr);
    const char* (*moduleAddrSym)(DwflModule*, DwarfAddr, ElfSymbol*, uint32_t*);
    DwflLine* (*moduleGetSrc)(DwflModule*, DwarfAddr);
    const char* (*lineInfo)(DwflLine*, DwarfAddr*, int*, int*, uint64_t*, uint64_t*);
    const char* (*moduleInfo)(DwflModule*, void***, DwarfAddr*, DwarfAddr*, DwarfAddr*,
                              DwarfAddr*, const char**, const char**);
    DwarfDie* (*moduleAddrDie)(DwflModule*, DwarfAddr, DwarfAddr*);
    int (*getScopes)(DwarfDie*, DwarfAddr, DwarfDie**);
    int (*tag)(DwarfDie*);
    DwarfAttribute* (*attr)(DwarfDie*, unsigned, DwarfAttribute*);
    int (*formUdata)(DwarfAttribute*, uint64_t*);
    int (*getSrcFiles)(DwarfDie*, DwarfFiles**, size_t*);
    const char* (*fileSrc)(DwarfFiles*, size_t, uint64_t*, uint64_t*);
};

// -1 not tried yet, 0 tried and unavailable, 1 ready. A failed load is not
// retried. Like the rest of the runtime, first use is on one thread.
int g_state = -1;
LibDw g_dw;
DwflCallbacks g_callbacks;
Dwfl* g_session = nullptr;
void* g_library = nullptr;

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
    g_library = lib;
    bool complete = resolve(lib, "dwfl_begin", g_dw.begin) &&
                    resolve(lib, "dwfl_end", g_dw.end) &&
                    resolve(lib, "dwfl_report_begin", g_dw.reportBegin) &&
                    resolve(lib, "dwfl_linux_proc_report", g_dw.linuxProcReport) &&
                    resolve(lib, "dwfl_report_end", g_dw.reportEnd) &&
                    resolve(lib, "dwfl_addrmodule", g_dw.addrModule) &&
                    resolve(lib, "dwfl_module_addrsym", g_dw.moduleAddrSym) &&
                    resolve(lib, "dwfl_module_getsrc", g_dw.moduleGetSrc) &&
                    resolve(lib, "dwfl_lineinfo", g_dw.lineInfo) &&
                    resolve(lib, "dwfl_module_info", g_dw.moduleInfo) &&
                    resolve(lib, "dwfl_module_addrdie", g_dw.moduleAddrDie) &&
                    resolve(lib, "dwarf_getscopes", g_dw.getScopes) &&
                    resolve(lib, "dwarf_tag", g_dw.tag) && resolve(lib, "dwarf_attr", g_dw.attr) &&
                    resolve(lib, "dwarf_formudata", g_dw.formUdata) &&
                    resolve(lib, "dwarf_getsrcfiles", g_dw.getSrcFiles) &&
                    resolve(lib, "dwarf_filesrc", g_dw.fileSrc) &&
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

// The module that spans address, with its start and file name; null when
// no module does.
DwflModule* moduleOf(uint64_t address, DwarfAddr& start, const char*& name) {
    DwflModule* module = g_dw.addrModule(g_session, address);
    // A library loaded after the last report is not known yet: report again.
    if (!module && reportModules())
        module = g_dw.addrModule(g_session, address);
    if (!module)
        return nullptr;
    DwarfAddr end = 0;
    name = g_dw.moduleInfo(module, nullptr, &start, &end, nullptr, nullptr, nullptr, nullptr);
    // libdw may answer with a neighbouring module for an address outside
    // every module (stack, heap): only a module that spans it counts.
    return address >= start && address < end ? module : nullptr;
}

// The call site an inlined subroutine's entry records; false without one.
bool callSiteOf(DwarfDie& scope, DwarfFiles* files, size_t fileCount, CallSite& out) {
    DwarfAttribute attribute;
    uint64_t file = 0;
    uint64_t line = 0;
    if (!g_dw.attr(&scope, kAttributeCallFile, &attribute) ||
        g_dw.formUdata(&attribute, &file) != 0 || file >= fileCount ||
        !g_dw.attr(&scope, kAttributeCallLine, &attribute) ||
        g_dw.formUdata(&attribute, &line) != 0)
        return false;
    out.file = g_dw.fileSrc(files, static_cast<size_t>(file), nullptr, nullptr);
    out.line = static_cast<int>(line);
    return out.file != nullptr;
}

}  // namespace

int inlineCallSites(uint64_t address, CallSite* out, int max) {
    if (!out || max <= 0 || !symbolizerReady())
        return 0;
    DwarfAddr start = 0;
    const char* name = nullptr;
    DwflModule* module = moduleOf(address, start, name);
    if (!module)
        return 0;
    DwarfAddr bias = 0;
    DwarfDie* unit = g_dw.moduleAddrDie(module, address, &bias);
    DwarfFiles* files = nullptr;
    size_t fileCount = 0;
    if (!unit || g_dw.getSrcFiles(unit, &files, &fileCount) != 0)
        return 0;
    DwarfDie* scopes = nullptr;
    const int scopeCount = g_dw.getScopes(unit, address - bias, &scopes);
    int found = 0;
    // Innermost scope first; the expansions end at the enclosing function.
    for (int i = 0; i < scopeCount && found < max; ++i) {
        if (g_dw.tag(&scopes[i]) != kTagInlinedSubroutine)
            continue;
        if (callSiteOf(scopes[i], files, fileCount, out[found]))
            ++found;
    }
    free(scopes);
    return found;
}

bool symbolizerReady() {
    if (g_state < 0)
        g_state = load() ? 1 : 0;
    return g_state == 1;
}

void releaseSymbolizer() {
    if (g_session)
        g_dw.end(g_session);
    g_session = nullptr;
    if (g_library)
        dlclose(g_library);
    g_library = nullptr;
    g_state = -1;
}

bool symbolize(uint64_t address, FrameInfo& out) {
    if (!symbolizerReady())
        return false;
    out.file[0] = '\0';
    out.line = 0;
    out.symbol[0] = '\0';
    out.module[0] = '\0';
    out.moduleBase = 0;
    out.symbolAddress = 0;
    DwarfAddr start = 0;
    const char* name = nullptr;
    DwflModule* module = moduleOf(address, start, name);
    if (!module)
        return true;
    copyText(out.module, sizeof out.module, name);
    out.moduleBase = start;
    ElfSymbol symbol{};
    uint32_t section = 0;
    const char* symbolName = g_dw.moduleAddrSym(module, address, &symbol, &section);
    copySymbol(out.symbol, sizeof out.symbol, symbolName);
    // libdw gives the symbol's value as an address of this process.
    if (symbolName)
        out.symbolAddress = symbol.value;
    if (DwflLine* line = g_dw.moduleGetSrc(module, address)) {
        int lineNo = 0;
        copyText(out.file, sizeof out.file,
                 g_dw.lineInfo(line, nullptr, &lineNo, nullptr, nullptr, nullptr));
        out.line = lineNo;
    }
    return true;
}

}  // namespace platform
