// Model files other than U3D, read into the scene model: through assimp
// where the build links it (modelImportAssimp.cpp); builds without it (the
// Windows build: Debian has no assimp for MinGW) read U3D only
// (modelImportNone.cpp). This is the one place that knows which.
#pragma once

#include "u3d/scene.h"

#include <string>
#include <vector>

// The model's scene; an input error (cliExit.h) that names the file and
// what is wrong with it when it cannot be imported.
u3d::sceneS importModel(const std::string& model);

// A sentence or two for the program's help: which formats this build
// reads.
const char* importedFormatsNote();

struct meshFormatS {
    std::string extension;  // "stl"
    std::string name;       // "Stereolithography (STL)"
};

// The mesh formats this build imports besides U3D, sorted by extension, one
// entry for each; none without assimp.
std::vector<meshFormatS> meshFormats();
