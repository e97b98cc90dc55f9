// u3dpdf u3d MODEL -o OUT.u3d [--scale S]: the U3D file alone, for those who
// embed it with other tools.
#include "cliArgs.h"
#include "cliExit.h"
#include "commands.h"
#include "importedModel.h"
#include "scaleOption.h"
#include "u3d/writer.h"

#include <filesystem>

namespace {

const char* const kHelp =
    "Usage: u3dpdf u3d MODEL -o OUT.u3d [--scale S] [--module PATH]\n"
    "\n"
    "Writes the model, in any format u3dpdf imports (see u3dpdf formats), as a\n"
    "U3D file, for LaTeX and other tools that embed U3D themselves: the node\n"
    "tree with its transforms, meshes with their normals and vertex colours,\n"
    "line sets, point sets, and a shader and material per material the model\n"
    "names. OUT.u3d is written under a temporary name beside it and replaces\n"
    "an existing file only once complete.\n"
    "\n"
    "  -o, --output OUT.u3d  the U3D file to write (required; not MODEL)\n"
    "  --scale S             scale the whole model by S (a positive number),\n"
    "                        through a group node above everything in it\n"
    "  --module PATH         accepted like on every command, but not used: u3d\n"
    "                        does not load the module\n"
    "\n"
    "Exit status: 0 written; 2 usage error, a model that cannot be read or\n"
    "imported (it is named with the reason), or a file that cannot be written;\n"
    "nothing is left at OUT.u3d then.\n";

const cliOptionS kOptions[] = {
    {"--output", "-o", 1},
    {"--scale", nullptr, 1},
    {"--module", nullptr, 1},
};

}  // namespace

int runU3d(const std::vector<std::string>& words) {
    const cliArgsC args("u3d", kOptions, words);
    if (args.helpAsked()) {
        printHelp(kHelp);
        return kExitConverted;
    }
    const std::string model = args.operands(1, "MODEL")[0];
    if (!args.has("--output"))
        usageError("u3d", "missing -o OUT.u3d");
    const std::string output = args.value("--output");
    const double scale = scaleOption(args, "u3d");
    std::error_code ec;
    if (std::filesystem::equivalent(model, output, ec))
        usageError("u3d", "the output " + output + " is the model " + model);
    if (isU3dFile(model))
        inputError(model + " is a U3D file already");
    const u3d::sceneS scene = importedScene(model, scale);
    try {
        u3d::writeU3dFile(scene, output);
    } catch (const std::exception& e) {
        inputError(model + ": " + e.what());
    }
    return kExitConverted;
}
