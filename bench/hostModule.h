// For the benchmarks that convert through libu3dpdf.so: the module loaded
// as a host loads it, and how such a program gives up.
#pragma once

#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifndef U3DPDF_MODULE_PATH
#error "U3DPDF_MODULE_PATH must name the module to load"
#endif

class metaTreeC;
using convertMetaTreeF = int (*)(metaTreeC* data, uintptr_t fncPointer);

// "PROGRAM: message" on standard error, exit status 1.
[[noreturn]] inline void benchFail(const char* program, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", program, message.c_str());
    std::exit(1);
}

// The module of this build, loaded with dlopen; its convertMetaTree. The
// handle goes to `module`, for dlclose once its trees are gone.
inline convertMetaTreeF loadModule(const char* program, void*& module) {
    module = dlopen(U3DPDF_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    if (!module)
        benchFail(program, std::string("cannot load ") + U3DPDF_MODULE_PATH + ": " + dlerror());
    auto convert = reinterpret_cast<convertMetaTreeF>(dlsym(module, "convertMetaTree"));
    if (!convert)
        benchFail(program, "the module does not export convertMetaTree");
    return convert;
}
