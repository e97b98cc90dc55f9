// u3dpdf tree FILE: a tree file read and written back by the meta tree's
// own readers and writer, to look at a file or normalise it.
#include "cliArgs.h"
#include "cliExit.h"
#include "commands.h"
#include "treeFiles.h"

namespace {

const char* const kHelp =
    "Usage: u3dpdf tree FILE [--pretty] [--ini] [--module PATH]\n"
    "\n"
    "Reads a tree from FILE in the braced text form, or from an INI file with\n"
    "--ini (as an INIFILE tree: FNAME, then SECTIONS of SECTION items with NAME\n"
    "and ENTRIES of ENTRY items with KEY and TEXT), and writes it to standard\n"
    "output in the compact braced form, then a line feed. Every top-level node\n"
    "of a braced file is written; a file without nodes gives an empty line.\n"
    "\n"
    "  --pretty        the indented layout: one tab per level\n"
    "  --ini           read FILE as an INI file\n"
    "  --module PATH   accepted like on every command, but not used: tree does\n"
    "                  not load the module\n"
    "\n"
    "Exit status: 0 written; 2 usage error, a file that cannot be read or does\n"
    "not parse (the reader's \"Line:N - message\" is shown), or output that\n"
    "cannot be written.\n";

const cliOptionS kOptions[] = {
    {"--pretty", nullptr, 0},
    {"--ini", nullptr, 0},
    {"--module", nullptr, 1},
};

}  // namespace

int runTree(const std::vector<std::string>& words) {
    const cliArgsC args("tree", kOptions, words);
    if (args.helpAsked()) {
        printHelp(kHelp);
        return kExitConverted;
    }
    const std::string file = args.operands(1, "FILE")[0];
    const bool pretty = args.has("--pretty");
    if (args.has("--ini"))
        printTree(loadIniTree(file), pretty);
    else
        printTree(loadBracedTree(file), pretty);
    return kExitConverted;
}
