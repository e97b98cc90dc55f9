#include "cliExit.h"
#include "commands.h"
#include "modelImport.h"

#include <cstdio>

const std::vector<cliCommandS>& cliCommands() {
    static const std::vector<cliCommandS> commands = {
        {"convert", "convert MODEL -o OUT.pdf|DIR|- [--bbox MINX MINY MINZ MAXX MAXY MAXZ\n"
                    "                  [--center]] [--scale S] [--quiet] [--poster ... --views\n"
                    "                  LIST, see convert --help]\n"
                    "        MODEL... -d OUTDIR [-j N]\n"
                    "                  convert models (U3D, or any format u3dpdf imports);\n"
                    "                  the models themselves are left alone",
         runConvert},
        {"u3d", "u3d MODEL -o OUT.u3d|DIR|- [--scale S] [--quiet]\n"
                "                  write a model of another format as U3D alone",
         runU3d},
        {"request", "request FILE [--quiet]\n"
                    "                  pass a request tree (braced text form) to the module",
         runRequest},
        {"caps", "caps            print the module's capability tree", runCaps},
        {"tree", "tree FILE [--pretty] [--ini]\n"
                 "                  read a tree (braced form, or INI with --ini) and write it\n"
                 "                  back in the braced form",
         runTree},
        {"info", "info MODEL.u3d [--json]\n"
                 "                  what a U3D file holds: blocks, nodes, resources, world box",
         runInfo},
        {"formats", "formats         list the input formats this build reads", runFormats},
    };
    return commands;
}

std::string programHelp() {
    std::string commands;
    for (const cliCommandS& command : cliCommands())
        commands += std::string("  ") + command.synopsis + "\n";
    return "Usage: u3dpdf COMMAND [ARGUMENTS] [--module PATH]\n"
           "       u3dpdf --version [--module PATH]\n"
           "\n"
           "Converts 3D models into one-page PDF documents with an interactive 3D\n"
           "annotation through the translator module " U3DPDF_MODULE_FILE_NAME ", which it loads\n"
           "and calls as a host application does.\n" +
           std::string(importedFormatsNote()) +
           "\n"
           "Commands:\n" +
           commands +
           "\n"
           "Options of every command:\n"
           "  --module PATH   the module to load. Without it, the first of these that\n"
           "                  exists, next to the executable (symbolic links resolved):\n"
           "                    1. " U3DPDF_MODULE_FILE_NAME " in the executable's directory\n"
           "                    2. " U3DPDF_INSTALLED_MODULE_DIR "/" U3DPDF_MODULE_FILE_NAME " from there\n"
           "                    3. the build tree's src/module/" U3DPDF_MODULE_FILE_NAME ", when\n"
           "                       the executable runs from the build tree it was built in\n"
           "                  (tree and info accept --module but do not load the module)\n"
           "  -h, --help      this text; \"u3dpdf COMMAND --help\" describes a command\n"
           "  --version       the version of u3dpdf, the commit it was built from and\n"
           "                  the capability VERSION of the module it loads\n"
           "\n"
           "Exit status:\n"
           "  0  the conversion succeeded (the module returned 1), or the command did\n"
           "  1  the module returned 0: the conversion failed\n"
           "  2  usage error, input that cannot be read or parsed, a module that cannot\n"
           "     be loaded, or output that cannot be written\n";
}

void printHelp(const std::string& text) { printText(text); }

void printText(const std::string& text) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
        inputError("cannot write to standard output");
}
