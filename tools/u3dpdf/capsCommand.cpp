// u3dpdf caps: what the module says about itself.
#include "cliArgs.h"
#include "cliExit.h"
#include "commands.h"
#include "metatree/metaObject.h"
#include "translatorModule.h"
#include "treeFiles.h"

namespace {

const char* const kHelp =
    "Usage: u3dpdf caps [--module PATH]\n"
    "\n"
    "Prints the capability tree that the module's getCaps returns (its name,\n"
    "version, build date and the U3D to PDF pairing) in the pretty braced text\n"
    "form, then a line feed.\n"
    "\n"
    "  --module PATH   the module to load (see u3dpdf --help)\n"
    "\n"
    "Exit status: 0 printed; 1 the module returned no tree; 2 usage error, a\n"
    "module that cannot be loaded or output that cannot be written.\n";

const cliOptionS kOptions[] = {
    {"--module", nullptr, 1},
};

}  // namespace

int runCaps(const std::vector<std::string>& words) {
    const cliArgsC args("caps", kOptions, words);
    if (args.helpAsked()) {
        printHelp(kHelp);
        return kExitConverted;
    }
    args.operands(0, "");
    const translatorModuleC module(args.value("--module"));
    // The tree is ours now; its nodes are the module's and go back to it
    // when the handle deletes them, before the module is unloaded.
    const metaObjectC caps(module.getCaps(), true);
    if (!caps.valid())
        throw cliExitS{kExitModuleFailed, "the module returned no capability tree"};
    printTree(caps, true);
    return kExitConverted;
}
