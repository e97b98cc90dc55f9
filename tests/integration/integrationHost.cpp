// A minimal host for the tests that need a process of their own (the
// code tracking log reads its environment when the module is loaded):
// loads the module, converts each pair of arguments with the unit box,
// prints its thread id (the one the module's code tracking log names its
// file by) and the results, and unloads the module. With --entry, every
// request carries that custom entry.
//   integration_host [--entry KEY TEXT] <output.pdf> <model.u3d> [<output.pdf> <model.u3d> ...]
#include "support/trees/treeText.h"
#include "metatree/metaTree.h"

#include "support/hostProcess.h"
#include "runtime/platform/platform.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    std::string error;
    void* module = openModule(U3DPDF_MODULE_PATH, error);
    if (!module) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    using convertF = int (*)(metaTreeC*, uintptr_t);
    auto convert = reinterpret_cast<convertF>(moduleSymbol(module, "convertMetaTree"));
    if (!convert)
        return 2;
    std::printf("%u", static_cast<unsigned>(platform::threadId()));
    const bool withEntry = argc > 3 && std::string(argv[1]) == "--entry";
    for (int i = withEntry ? 4 : 1; i + 1 < argc; i += 2) {
        std::unique_ptr<metaTreeC> request(createKeyNode("REQUEST"));
        addText(request.get(), "OUTPUTLOCATION", argv[i]);
        if (withEntry) {
            metaTreeC* entry = addKey(addKey(addKey(request.get(), "CUSTOMDATA"), "ENTRIES"), "ENTRY");
            addText(entry, "KEY", argv[2]);
            addText(entry, "TEXT", argv[3]);
        }
        metaTreeC* record = addKey(addKey(request.get(), "INPUTDATA"), "MODEL");
        addText(record, "FILENAME", argv[i + 1]);
        addNumbers(record, "U3DBOXMIN", {0, 0, 0});
        addNumbers(record, "U3DBOXMAX", {1, 1, 1});
        std::printf(" %d", convert(request.get(), 0));
    }
    std::printf("\n");
    return closeModule(module) ? 0 : 3;
}
