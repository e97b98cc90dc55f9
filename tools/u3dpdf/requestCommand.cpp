// u3dpdf request FILE: a request tree written by hand or by another tool,
// passed to the module exactly as read.
#include "cliArgs.h"
#include "cliExit.h"
#include "commands.h"
#include "modelCheck.h"
#include "moduleConversion.h"
#include "progress.h"
#include "treeFiles.h"

#include <cstdio>

namespace {

const char* const kHelp =
    "Usage: u3dpdf request FILE [--quiet] [--module PATH]\n"
    "\n"
    "Reads a request tree in the braced text form and passes it unchanged to the\n"
    "module's convertMetaTree, for example:\n"
    "  REQUEST{OUTPUTLOCATION{\"out/model.pdf\"},\n"
    "          INPUTDATA{MODEL{FILENAME{\"out/model.u3d\"},\n"
    "                          U3DBOXMIN{0,0,0},U3DBOXMAX{1,1,1}}}}\n"
    "Paths in the request reach the module as written: relative ones are taken\n"
    "from the working directory. The module deletes the U3D file that FILENAME\n"
    "names when the conversion succeeds, so name a copy of your model.\n"
    "\n"
    "  --quiet         no progress line (shown on standard error when it is a\n"
    "                  terminal, while the module runs)\n"
    "  --module PATH   the module to load (see u3dpdf --help)\n"
    "\n"
    "The U3D file that FILENAME names is read as U3D first, as convert does: a\n"
    "file that is not U3D is refused before the module sees the request.\n"
    "\n"
    "Exit status: 0 converted; 1 the module could not convert; 2 usage error, a\n"
    "file that cannot be read, does not parse (the reader's \"Line:N - message\"\n"
    "is shown) or holds no tree, a model that is not U3D, or a module that cannot\n"
    "be loaded.\n";

const cliOptionS kOptions[] = {
    {"--quiet", nullptr, 0},
    {"--module", nullptr, 1},
};

// The model of the request's input record (the first child of INPUTDATA),
// when it names one that exists: one that does not is the module's to
// refuse, as before.
void checkRequestModel(const metaObjectC& request) {
    metaTreeC* input = request.findChild("INPUTDATA");
    metaTreeC* record = input && metaObjectC(input).childCount() > 0 ? metaObjectC(input).childAt(0) : nullptr;
    metaTreeC* name = record ? metaObjectC(record).findChild("FILENAME") : nullptr;
    int found = 0;
    const std::string model = name ? metaObjectC(name).getString(&found).text() : std::string();
    if (!found || model.empty())
        return;
    if (std::FILE* file = std::fopen(model.c_str(), "rb")) {
        std::fclose(file);
        checkModelStructure(model, model);
    }
}

}  // namespace

int runRequest(const std::vector<std::string>& words) {
    const cliArgsC args("request", kOptions, words);
    if (args.helpAsked()) {
        printHelp(kHelp);
        return kExitConverted;
    }
    const std::string file = args.operands(1, "FILE")[0];
    metaObjectC request = loadBracedTree(file);
    if (!request.valid())
        inputError(file + " holds no request tree");
    checkRequestModel(request);
    progressC progress(args.has("--quiet"));
    progress.item(file);
    return runModuleConversion(args.value("--module"), request, "the module could not convert the request in " + file,
                               progress);
}
