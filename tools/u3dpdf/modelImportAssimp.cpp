#include "cliExit.h"
#include "import/importFormats.h"
#include "import/meshImport.h"
#include "modelImport.h"

u3d::sceneS importModel(const std::string& model) {
    try {
        return meshimport::importFile(model);
    } catch (const meshimport::unknownFormatError& e) {
        inputError(model + ": " + e.what() + " (see u3dpdf formats)");
    } catch (const meshimport::importError& e) {
        inputError(model + ": " + e.what());
    }
}

const char* importedFormatsNote() {
    return "Models in other formats (STL, OBJ, PLY, OFF, glTF, 3MF, COLLADA and the rest\n"
           "of what assimp reads: see u3dpdf formats) are imported and written as U3D\n"
           "first.\n";
}

std::vector<meshFormatS> meshFormats() {
    std::vector<meshFormatS> out;
    for (const meshimport::formatS& format : meshimport::readableFormats())
        out.push_back({format.extension, format.name});
    return out;
}
