// The mesh formats this build reads: those of the assimp library it links.
#pragma once

#include <string>
#include <vector>

namespace meshimport {

struct formatS {
    std::string extension;  // lower case, without the dot: "stl"
    std::string name;       // the readers that take it: "Stereolithography (STL)"
};

// One entry per extension, sorted by extension; an extension that several
// readers take names them all, separated by " / ".
std::vector<formatS> readableFormats();

}  // namespace meshimport
