// The tracking settings that the allocator reads from the environment once,
// at its first initialisation.
#pragma once

#include <cstddef>
#include <cstdint>

struct memTrackSettingsS {
    uint32_t flags;        // kMemTrack* bits
    char outputPath[128];  // empty: reports go to the output function
};

memTrackSettingsS memReadTrackSettings();
