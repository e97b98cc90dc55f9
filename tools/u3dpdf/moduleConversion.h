// One call of the module's convertMetaTree, as both conversion commands
// make it.
#pragma once

#include "metatree/metaObject.h"

#include <string>

class progressC;

// Loads the module (modulePath, or the default one when empty), passes it
// the request and returns the exit status for its answer: kExitConverted
// for 1; for 0, a kExitModuleFailed error whose message is failure, then
// ": " and the reason the module gave in the request's ErrorMessage entry
// (or a note that it gave none). The
// request is released (with the nodes the module added to it, which return
// to the module's allocator) before the module is unloaded, whatever
// happens. The call is one step of progress, "converting", which reports
// nothing while it runs: progress shows how long it has taken.
int runModuleConversion(const std::string& modulePath, metaObjectC& request, const std::string& failure,
                        progressC& progress);
