// What a U3D file holds beyond its scene: its header, how many blocks of
// each type, the files it refers to, and how far its content decoded.
#pragma once

#include "u3d/scene.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace u3d {

// The file header's profile flags.
inline constexpr uint32_t kProfileExtensible = 0x00000002;
inline constexpr uint32_t kProfileNoCompression = 0x00000004;
inline constexpr uint32_t kProfileDefinedUnits = 0x00000008;

// A file reference block: files whose objects the scene would take in.
// They are reported, never followed.
struct fileReferenceS {
    std::string scopeName;
    std::vector<std::string> urls;
    uint64_t offset = 0;  // of the block
};

struct fileSummaryS {
    int16_t majorVersion = 0;
    int16_t minorVersion = 0;
    uint32_t profile = 0;
    // The header's declaration size; in files in the field it covers the
    // header block alone and tells nothing about where continuations start.
    uint32_t declarationSize = 0;
    uint64_t declaredFileSize = 0;
    uint64_t fileSize = 0;
    uint32_t characterEncoding = 0;
    bool hasUnitsScale = false;
    double unitsScale = 1;

    // Blocks by type, those inside modifier chains included.
    std::map<uint32_t, uint64_t> blockCounts;
    std::vector<fileReferenceS> fileReferences;

    // Model nodes once per parent path, and the world box of the geometry
    // they show (see sceneInstances.h); empty when no model shows any.
    std::size_t modelInstanceCount = 0;
    boxS worldBox;

    // When read leniently: one line per block whose content did not decode
    // (the scene then lacks what it held), and per scene fault (a parent
    // cycle). Empty when the whole file decoded.
    std::vector<std::string> faults;
};

}  // namespace u3d
