#include "runtime/diag/codeTrackC.h"

#include "runtime/platform/platform.h"
#include "runtime/str/strAppend.h"

#include <cstdio>
#include <cstring>

namespace {

// The file name of the module that holds the log's code, found once: the
// same for every log of the module and costly to look up.
const char* moduleName() {
    static char name[1024];
    if (name[0] == '\0') {
        const void* code = reinterpret_cast<const void*>(&codeTrackLogPath);
        if (!platform::moduleFileName(code, name, sizeof name))
            snprintf(name, sizeof name, "%llu",
                     static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(code)));
    }
    return name;
}

const char* logDirectory() {
    static const char* const kVariables[] = {"temp", "tmp", "TEMP", "TMP"};
    for (const char* variable : kVariables) {
        const char* value = platform::getEnv(variable);
        if (value && value[0] != '\0')
            return value;
    }
    return platform::defaultTempDirectory();
}

}  // namespace

str codeTrackLogPath(const str& configuredPath, uint32_t ownerThread) {
    if (configuredPath.length() > 0)
        return configuredPath;
    str path(logDirectory());
    const int len = path.length();
    if (len == 0 || (path[len - 1] != '/' && path[len - 1] != '\\'))
        path << "/";
    path << "codetrack." << static_cast<int32_t>(ownerThread) << "." << moduleName() << ".txt";
    return path;
}
