// What the tests need to act as a host of libu3dpdf.so: loading it and
// finding its entry points by name, building request trees with the host's
// own copy of the meta tree code; files and commands come from
// tests/support.
#pragma once

#include "expectedPdf.h"
#include "support/hostProcess.h"
#include "support/testFiles.h"

#include <filesystem>
#include <memory>

class metaTreeC;

using getCapsF = metaTreeC* (*)();
using convertMetaTreeF = int (*)(metaTreeC* data, uintptr_t fncPointer);

// The module, loaded as a host loads it; unloaded on destruction.
struct loadedModuleS {
    loadedModuleS();
    ~loadedModuleS();
    loadedModuleS(const loadedModuleS&) = delete;
    loadedModuleS& operator=(const loadedModuleS&) = delete;

    void* handle = nullptr;
    getCapsF getCaps = nullptr;
    convertMetaTreeF convertMetaTree = nullptr;
};

// A request as hosts fill it: OUTPUTLOCATION and one input record MODEL
// with FILENAME and the box.
std::unique_ptr<metaTreeC> conversionRequest(const std::filesystem::path& output,
                                             const std::filesystem::path& u3d, const boxS& box);

// Appends ENTRY{KEY{key},TEXT{text}} under the request's CUSTOMDATA/ENTRIES,
// creating those two when missing.
void addCustomEntry(metaTreeC* request, const char* key, const char* text);
// The request's CUSTOMDATA subtree in the treeText form; "<none>" without.
std::string customData(const metaTreeC* request);
