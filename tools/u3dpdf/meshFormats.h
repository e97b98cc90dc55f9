// The mesh formats this build imports besides U3D: those of the assimp
// library it links, or none where the build has no assimp (Windows).
#pragma once

#include <string>
#include <vector>

struct meshFormatS {
    std::string extension;  // "stl"
    std::string name;       // "Stereolithography (STL)"
};

// Sorted by extension, one entry for each.
std::vector<meshFormatS> meshFormats();
