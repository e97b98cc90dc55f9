// Builds without assimp (Debian has none for MinGW) read U3D only.
#include "cliExit.h"
#include "modelImport.h"

u3d::sceneS importModel(const std::string& model) {
    inputError(model + " is not a U3D file, and this build reads U3D only: importing other formats needs assimp, "
                       "which it lacks");
}

const char* importedFormatsNote() {
    return "This build reads U3D only: importing other formats (STL, OBJ, glTF, ...)\n"
           "needs assimp, which it lacks (the Windows build).\n";
}

std::vector<meshFormatS> meshFormats() { return {}; }
