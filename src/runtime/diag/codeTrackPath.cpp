#include "runtime/diag/codeTrackC.h"

#include "runtime/diag/moduleName.h"
#include "runtime/platform/platform.h"
#include "runtime/str/strAppend.h"

#include <cstdio>
#include <cstring>

namespace {

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
    path << "codetrack." << static_cast<int32_t>(ownerThread) << "." << diagModuleName() << ".txt";
    return path;
}
