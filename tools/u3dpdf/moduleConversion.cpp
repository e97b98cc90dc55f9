#include "moduleConversion.h"

#include "cliExit.h"
#include "progress.h"
#include "translator/conversionError.h"
#include "translator/customEntryKeys.h"
#include "translator/requestTree.h"
#include "translatorModule.h"

namespace {

// What the module says went wrong: the ErrorMessage custom entry that it
// adds to a request it could not convert, in one line whatever a foreign
// module wrote. Empty when there is none.
std::string moduleReason(const metaObjectC& request) {
    const requestEntryC entry = requestRootC(request.node()).findENTRIES().findENTRY(kEntryErrorMessage);
    return oneLine(entry.findTEXT().text()).text();
}

}  // namespace

int runModuleConversion(const std::string& modulePath, metaObjectC& request, const std::string& failure,
                        progressC& progress) {
    const translatorModuleC module(modulePath);
    int result = 0;
    try {
        const progressClockC clock(progress, "converting");
        result = module.convertMetaTree(request.node());
    } catch (...) {
        // The module lets an exception escape only when the request cannot
        // even be read (out of memory); the nodes it added so far still
        // need its code to be freed.
        request.release();
        throw cliExitS{kExitModuleFailed, failure + " (the module raised an exception)"};
    }
    // Read before the request goes: its nodes die with the module's code.
    const std::string reason = result == 1 ? std::string() : moduleReason(request);
    request.release();
    if (result != 1)
        throw cliExitS{kExitModuleFailed, failure + (reason.empty() ? " (the module gave no reason)" : ": " + reason)};
    return kExitConverted;
}
