#include "moduleLocator.h"

#include "cliExit.h"
#include "hostPlatform.h"

#include <filesystem>

namespace fs = std::filesystem;

// The build system tells where the module lies in an installation and in
// the build tree, relative to the executable's own directory, and what the
// module file is called.
#ifndef U3DPDF_MODULE_FILE_NAME
#error "U3DPDF_MODULE_FILE_NAME must name the module file (libu3dpdf.so)"
#endif
#ifndef U3DPDF_INSTALLED_MODULE_DIR
#error "U3DPDF_INSTALLED_MODULE_DIR must give the module's installed directory relative to the executable's"
#endif
#ifndef U3DPDF_BUILD_TREE_MODULE_DIR
#error "U3DPDF_BUILD_TREE_MODULE_DIR must give the module's build directory relative to the executable's"
#endif

std::vector<std::string> moduleCandidates(const std::string& exeDir) {
    const fs::path dir(exeDir);
    const fs::path places[] = {dir, dir / U3DPDF_INSTALLED_MODULE_DIR, dir / U3DPDF_BUILD_TREE_MODULE_DIR};
    std::vector<std::string> candidates;
    for (const fs::path& place : places)
        candidates.push_back((place / U3DPDF_MODULE_FILE_NAME).lexically_normal().string());
    return candidates;
}

std::string defaultModulePath() {
    const std::string exe = hostPlatform::executablePath();
    if (exe.empty())
        inputError("cannot tell where the executable lies to find " U3DPDF_MODULE_FILE_NAME "; use --module PATH");
    const std::vector<std::string> candidates = moduleCandidates(fs::path(exe).parent_path().string());
    std::string tried;
    for (const std::string& candidate : candidates) {
        std::error_code ec;
        if (fs::exists(candidate, ec))
            return candidate;
        tried += (tried.empty() ? "" : ", ") + candidate;
    }
    inputError("no " U3DPDF_MODULE_FILE_NAME " found (looked at " + tried + "); use --module PATH");
}
