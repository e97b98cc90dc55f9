#include "runtime/memory/memTrackSettings.h"

#include "runtime/memory/memBlock.h"
#include "runtime/platform/platform.h"

#include <cstring>

memTrackSettingsS memReadTrackSettings() {
    memTrackSettingsS settings{};
    // Only presence counts for the switches.
    if (platform::getEnv("QVMEMTRACK_TYPEINFO") != nullptr) settings.flags |= kMemTrackTypeInfo;
    if (platform::getEnv("QVMEMTRACK_LEAK") != nullptr) settings.flags |= kMemTrackLeak;
    if (platform::getEnv("QVMEMTRACK_LOCATION") != nullptr) settings.flags |= kMemTrackLocation;
    settings.poolBypass = platform::getEnv("U3DPDF_POOL_BYPASS") != nullptr;
    // A path that does not fit the 128-byte destination would name another
    // file once cut; reports then go to the output function instead.
    const char* output = platform::getEnv("QVMEMTRACK_OUTPUT");
    if (output != nullptr && std::strlen(output) < sizeof(settings.outputPath))
        std::strcpy(settings.outputPath, output);
    return settings;
}
