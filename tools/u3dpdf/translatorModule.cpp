#include "translatorModule.h"

#include "cliExit.h"
#include "hostPlatform.h"
#include "moduleLocator.h"

translatorModuleC::translatorModuleC(const std::string& path) : path_(path.empty() ? defaultModulePath() : path) {
    std::string error;
    library_ = hostPlatform::openLibrary(path_, error);
    if (!library_)
        inputError("cannot load the module: " + error);
    getCaps_ = reinterpret_cast<getCapsF>(hostPlatform::findSymbol(library_, "getCaps"));
    convertMetaTree_ = reinterpret_cast<convertMetaTreeF>(hostPlatform::findSymbol(library_, "convertMetaTree"));
    if (!getCaps_ || !convertMetaTree_) {
        hostPlatform::closeLibrary(library_);
        inputError(path_ + " is not a u3dpdf module: it does not export " +
                   (getCaps_ ? "convertMetaTree" : "getCaps"));
    }
}

translatorModuleC::~translatorModuleC() { hostPlatform::closeLibrary(library_); }
