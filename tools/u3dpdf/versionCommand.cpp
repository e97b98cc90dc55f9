// u3dpdf --version: which u3dpdf this is and which module it loads.
#include "cliArgs.h"
#include "cliExit.h"
#include "commands.h"
#include "metatree/metaObject.h"
#include "translatorModule.h"

#ifndef U3DPDF_COMMIT
#error "U3DPDF_COMMIT must name the commit the build was configured from (or \"unknown\")"
#endif

namespace {

const char* const kHelp =
    "Usage: u3dpdf --version [--module PATH]\n"
    "\n"
    "Prints the version of u3dpdf (that of its package), the git commit the\n"
    "build was configured from (\"unknown\" outside a git checkout), then the\n"
    "module it loads and the VERSION of the module's capability tree:\n"
    "\n"
    "  u3dpdf 0.1.0 (commit 3c41f7a0c1d2)\n"
    "  module /usr/lib/u3dpdf/libu3dpdf.so: capability VERSION V1.0\n"
    "\n"
    "  --module PATH   the module to load (see u3dpdf --help)\n"
    "\n"
    "Exit status: 0 printed; 1 the module returned no capability tree or one\n"
    "without a VERSION; 2 usage error or a module that cannot be loaded (the\n"
    "first line is printed all the same).\n";

const cliOptionS kOptions[] = {
    {"--module", nullptr, 1},
};

// INFO / VERSION of a capability tree, read without adding keys to it.
std::string capabilityVersion(const metaObjectC& caps) {
    const metaObjectC version(metaObjectC(caps.findChild("INFO")).findChild("VERSION"));
    int found = 0;
    const str& text = version.getString(&found);
    if (!found)
        throw cliExitS{kExitModuleFailed, "the module's capability tree has no INFO VERSION"};
    return text.text();
}

}  // namespace

int runVersion(const std::vector<std::string>& words) {
    const cliArgsC args("--version", kOptions, words);
    if (args.helpAsked()) {
        printHelp(kHelp);
        return kExitConverted;
    }
    args.operands(0, "");
    // The program's own version does not depend on the module: it is printed
    // before the module is looked for, so a broken installation still says
    // what it is.
    printText("u3dpdf " U3DPDF_VERSION " (commit " U3DPDF_COMMIT ")\n");
    const translatorModuleC module(args.value("--module"));
    std::string version;
    {
        // The tree goes back to the module before the module is unloaded.
        const metaObjectC caps(module.getCaps(), true);
        if (!caps.valid())
            throw cliExitS{kExitModuleFailed, "the module returned no capability tree"};
        version = capabilityVersion(caps);
    }
    printText("module " + module.path() + ": capability VERSION " + version + "\n");
    return kExitConverted;
}
