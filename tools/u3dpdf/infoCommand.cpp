// u3dpdf info MODEL.u3d [--json]: what a U3D file holds.
#include "cliArgs.h"
#include "cliExit.h"
#include "commands.h"
#include "modelCheck.h"
#include "modelInfo.h"

namespace {

const char* const kHelp =
    "Usage: u3dpdf info MODEL.u3d [--json]\n"
    "\n"
    "Reads the U3D file and prints what it holds: its size and the size its\n"
    "header declares, version, profile and units scale factor, how many blocks\n"
    "of each type, the nodes with their kind, name and parents (<world> is the\n"
    "scene's root), the geometry resources with their positions, faces, lines\n"
    "or points and their box in their own space, the files it refers to (not\n"
    "followed), and the box in the world of all geometry that model nodes show,\n"
    "once per parent path. Boxes are in the file's own units: the units scale\n"
    "factor is not applied. The module is not loaded.\n"
    "\n"
    "  --json          print the same as one JSON object\n"
    "\n"
    "Exit status: 0 printed; 2 usage error, or a file that cannot be read or is\n"
    "not a U3D file that decodes (one line names the fault, the block type and\n"
    "the block's offset).\n";

const cliOptionS kOptions[] = {
    {"--json", nullptr, 0},
    {"--module", nullptr, 1},
};

}  // namespace

int runInfo(const std::vector<std::string>& words) {
    const cliArgsC args("info", kOptions, words);
    if (args.helpAsked()) {
        printHelp(kHelp);
        return kExitConverted;
    }
    const std::string path = args.operands(1, "MODEL.u3d")[0];
    const u3d::u3dFileS model = readModel(path);
    printText(args.has("--json") ? modelInfoJson(path, model) : modelInfoText(path, model));
    return kExitConverted;
}
