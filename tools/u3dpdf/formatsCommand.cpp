// u3dpdf formats: the input formats this build reads.
#include "cliArgs.h"
#include "cliExit.h"
#include "commands.h"
#include "meshFormats.h"

#include <algorithm>

namespace {

const char* const kHelp =
    "Usage: u3dpdf formats [--module PATH]\n"
    "\n"
    "Lists the input formats this build reads, one a line: the file extension,\n"
    "then the format's name. U3D comes first; the mesh formats after it (STL,\n"
    "OBJ, PLY, OFF, glTF, 3MF, COLLADA and more) are those of the assimp\n"
    "library this build links. Builds without assimp, such as the Windows\n"
    "build, read U3D only.\n"
    "\n"
    "  --module PATH   accepted like on every command, but not used: formats\n"
    "                  does not load the module\n"
    "\n"
    "Exit status: 0 listed; 2 usage error or output that cannot be written.\n";

const cliOptionS kOptions[] = {
    {"--module", nullptr, 1},
};

}  // namespace

int runFormats(const std::vector<std::string>& words) {
    const cliArgsC args("formats", kOptions, words);
    if (args.helpAsked()) {
        printHelp(kHelp);
        return kExitConverted;
    }
    args.operands(0, "");
    std::vector<meshFormatS> formats = meshFormats();
    formats.insert(formats.begin(), {"u3d", "Universal 3D (U3D)"});
    std::size_t width = 0;
    for (const meshFormatS& format : formats)
        width = std::max(width, format.extension.size());
    std::string list;
    for (const meshFormatS& format : formats)
        list += format.extension + std::string(width + 2 - format.extension.size(), ' ') + format.name + "\n";
    printHelp(list);
    return kExitConverted;
}
