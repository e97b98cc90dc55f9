// Model files other than U3D, read into the scene model: through assimp
// where the build links it (modelImportAssimp.cpp); builds without it (the
// Windows build: Debian has no assimp for MinGW) read U3D only
// (modelImportNone.cpp).
#pragma once

#include "u3d/scene.h"

#include <string>

// The model's scene; an input error (cliExit.h) that names the file and
// what is wrong with it when it cannot be imported.
u3d::sceneS importModel(const std::string& model);

// A sentence or two for the program's help: which formats this build
// reads.
const char* importedFormatsNote();
