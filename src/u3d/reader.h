// Reading a U3D file into the scene model.
#pragma once

#include "u3d/fileSummary.h"
#include "u3d/formatError.h"
#include "u3d/scene.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace u3d {

struct readOptionsS {
    // Strict: any fault is a formatError. Lenient: only faults of the file's
    // structure are (not U3D, truncated, sizes past the end, a broken
    // modifier chain); a block whose content does not decode is left out of
    // the scene and named in the summary's faults, and so is a scene fault
    // such as a parent cycle.
    bool strict = true;
    // A block whose data is larger than this (a base mesh of millions of
    // faces) is read in windows of this many bytes instead of whole.
    std::size_t blockWindow = std::size_t(1) << 20;
};

struct u3dFileS {
    sceneS scene;
    fileSummaryS summary;
};

// Reads the file block by block: only the block being decoded (of a large
// block, a window of it) and the scene built so far are held in memory. A file that cannot be opened or
// read is a formatError too ("cannot open ...").
u3dFileS readU3dFile(const std::string& path, readOptionsS options = {});

// The same from bytes in memory.
u3dFileS readU3dMemory(std::span<const uint8_t> bytes, readOptionsS options = {});

}  // namespace u3d
