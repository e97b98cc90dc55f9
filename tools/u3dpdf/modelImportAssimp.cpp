#include "cliExit.h"
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
