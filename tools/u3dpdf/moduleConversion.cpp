#include "moduleConversion.h"

#include "cliExit.h"
#include "translatorModule.h"

int runModuleConversion(const std::string& modulePath, metaObjectC& request, const std::string& failure) {
    const translatorModuleC module(modulePath);
    int result = 0;
    try {
        result = module.convertMetaTree(request.node());
    } catch (...) {
        // The module lets an exception escape only when the request cannot
        // even be read (out of memory); the nodes it added so far still
        // need its code to be freed.
        request.release();
        throw cliExitS{kExitModuleFailed, failure + " (the module raised an exception)"};
    }
    request.release();
    if (result != 1)
        throw cliExitS{kExitModuleFailed, failure};
    return kExitConverted;
}
