#include "runtime/diag/moduleName.h"

#include "runtime/platform/platform.h"

#include <cstdint>
#include <cstdio>

// Found once: the same for every caller of the module and costly to look up.
const char* diagModuleName() {
    static char name[1024];
    if (name[0] == '\0') {
        const void* code = reinterpret_cast<const void*>(&diagModuleName);
        if (!platform::moduleFileName(code, name, sizeof name))
            snprintf(name, sizeof name, "%llu",
                     static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(code)));
    }
    return name;
}
