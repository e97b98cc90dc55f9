// The tracking settings that the allocator reads from the environment once,
// at its first initialisation.
//
// U3DPDF_POOL_BYPASS (present, any value) sends every block to the runtime
// heap: for diagnosing with a tool that sees runtime heap blocks only, such
// as LeakSanitizer, which finds the leaked blocks of a pool nowhere.
#pragma once

#include <cstddef>
#include <cstdint>

struct memTrackSettingsS {
    uint32_t flags;        // kMemTrack* bits
    char outputPath[128];  // empty: reports go to the output function
    bool poolBypass;       // every block from the runtime heap (U3DPDF_POOL_BYPASS)
};

memTrackSettingsS memReadTrackSettings();
