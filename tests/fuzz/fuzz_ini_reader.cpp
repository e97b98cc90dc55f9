// Any bytes as an INI file: reading must give a tree (the file is readable)
// and writing that tree back must succeed and read again, without crash,
// hang or leak.
#include "metatree/iniFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string scratchPath(const char* what) {
    return "/tmp/u3dpdf_fuzz_ini_" + std::to_string(::getpid()) + what;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string input = scratchPath(".in");
    static const std::string output = scratchPath(".out");
    std::FILE* f = std::fopen(input.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    iniFileC ini = readIniFile(input.c_str());
    if (!ini.valid())
        std::abort();
    if (writeIniFile(ini, output.c_str()) != 1)
        std::abort();
    iniFileC again = readIniFile(output.c_str());
    if (!again.valid())
        std::abort();
    // Every section written comes back as a section.
    if (again.sections().sectionCount() != ini.sections().sectionCount())
        std::abort();
    std::remove(input.c_str());
    std::remove(output.c_str());
    return 0;
}
