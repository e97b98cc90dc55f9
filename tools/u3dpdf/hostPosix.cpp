#include "hostPlatform.h"

#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace hostPlatform {

std::string executablePath() {
    // realpath resolves every link on the way, including the one that
    // /proc/self/exe itself is.
    char resolved[PATH_MAX];
    if (!realpath("/proc/self/exe", resolved))
        return {};
    return resolved;
}

void* openLibrary(const std::string& path, std::string& error) {
    // RTLD_LOCAL: the module's symbols must not satisfy anything else in
    // the process; RTLD_NOW: a module with unresolved symbols is refused
    // here, not half-way through a conversion.
    // A name without a slash would be looked up in the library search path;
    // the user means the file in the working directory.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* reason = dlerror();
        error = reason ? reason : "unknown loader error";
    }
    return library;
}

void* findSymbol(void* library, const char* name) { return dlsym(library, name); }

void closeLibrary(void* library) { dlclose(library); }

std::string temporaryDirectory() {
    const char* dir = std::getenv("TMPDIR");
    return dir && *dir ? dir : "/tmp";
}

std::string createTemporaryFile(const std::string& dir, const char* prefix, const char* suffix) {
    std::string pattern = dir + "/" + prefix + "XXXXXX" + suffix;
    std::vector<char> path(pattern.begin(), pattern.end());
    path.push_back('\0');
    const int fd = mkstemps(path.data(), static_cast<int>(std::strlen(suffix)));
    if (fd < 0)
        return {};
    close(fd);
    return path.data();
}

}  // namespace hostPlatform
