// u3dpdf convert MODEL.u3d -o OUT.pdf|DIR|- [--bbox ... [--center]]: a
// conversion of a model file that the user keeps.
#include "cliArgs.h"
#include "cliExit.h"
#include "commands.h"
#include "conversionRequest.h"
#include "hostPlatform.h"
#include "interruptGuard.h"
#include "modelCheck.h"
#include "modelHandoff.h"
#include "moduleConversion.h"
#include "outputTarget.h"
#include "progress.h"
#include "standardOutput.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace {

const char* const kHelp =
    "Usage: u3dpdf convert MODEL.u3d -o OUT.pdf|DIR|- [--bbox MINX MINY MINZ MAXX MAXY\n"
    "                      MAXZ [--center]] [--quiet] [--module PATH]\n"
    "\n"
    "Converts the U3D model into a one-page PDF whose 3D annotation embeds it.\n"
    "The module deletes the U3D file it converts, so u3dpdf hands it another\n"
    "path to the model's bytes: a view of the open file where the system has one,\n"
    "else a hard link beside the model, else a copy in\n"
    "" U3DPDF_TEMPORARY_DIRECTORY_RULE ". MODEL.u3d itself is never\n"
    "changed or deleted.\n"
    "\n"
    "  -o, --output OUT.pdf  the PDF file to write (required; not MODEL.u3d); in an\n"
    "                        existing directory DIR: DIR/MODEL.pdf; - writes the\n"
    "                        PDF to standard output, which must not be a terminal\n"
    "  --bbox MINX MINY MINZ MAXX MAXY MAXZ\n"
    "                        the model's bounding box, from which the module places\n"
    "                        the default camera. Default: the unit box 0 0 0 1 1 1\n"
    "                        (u3dpdf does not read the model to measure it). A box\n"
    "                        whose diagonal exceeds 32767/1.8 (about 18203.89)\n"
    "                        cannot be written: the conversion fails.\n"
    "  --center              aim the default view at the centre of the --bbox box\n"
    "                        (the module's CenterView entry); without it the view\n"
    "                        orbits the origin, which frames a model away from the\n"
    "                        origin badly\n"
    "  --quiet               no progress line; without it, when standard error is a\n"
    "                        terminal, a line there shows each step while it runs\n"
    "  --module PATH         the module to load (see u3dpdf --help)\n"
    "\n"
    "MODEL.u3d is read as U3D first: a file that is not U3D, is truncated or has\n"
    "blocks that run past its end is refused before anything is written. Content\n"
    "that does not decode (viewers may still show the rest) gets a warning line,\n"
    "and the model is embedded as it is.\n"
    "\n"
    "Interrupted (Ctrl-C, SIGTERM, SIGHUP), u3dpdf removes the temporary files it\n"
    "made, says so in one line and ends by that signal; an existing OUT.pdf is kept.\n"
    "\n"
    "Exit status: 0 converted; 1 the module could not convert (the reason it gives\n"
    "is shown; no output file is left and an existing OUT.pdf is kept); 2 usage\n"
    "error, unreadable model, a file that is not U3D, a module that cannot be\n"
    "loaded or output that cannot be written.\n";

const cliOptionS kOptions[] = {
    {"--output", "-o", 1},
    {"--bbox", nullptr, 6},
    {"--center", nullptr, 0},
    {"--quiet", nullptr, 0},
    {"--module", nullptr, 1},
};

double boxNumber(const std::string& word) {
    errno = 0;
    char* end = nullptr;
    const double x = std::strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(x))
        usageError("convert", "--bbox: not a finite number: " + word);
    return x;
}

modelBoxS modelBox(const cliArgsC& args) {
    if (!args.has("--bbox"))
        return {{0, 0, 0}, {1, 1, 1}};
    const std::vector<std::string>& words = args.values("--bbox");
    modelBoxS box{};
    for (int i = 0; i < 3; ++i) {
        box.min[i] = boxNumber(words[i]);
        box.max[i] = boxNumber(words[3 + i]);
    }
    return box;
}

// The module writes the PDF to the output path: were that the model, the
// model would be overwritten.
void refuseOverwritingModel(const std::string& model, const std::string& output) {
    std::error_code ec;
    if (std::filesystem::equivalent(model, output, ec))
        usageError("convert", "the output " + output + " is the model " + model);
}

}  // namespace

int runConvert(const std::vector<std::string>& words) {
    const cliArgsC args("convert", kOptions, words);
    if (args.helpAsked()) {
        printHelp(kHelp);
        return kExitConverted;
    }
    const std::string model = args.operands(1, "MODEL.u3d")[0];
    if (!args.has("--output"))
        usageError("convert", "missing -o OUT.pdf");
    const outputTargetS output = outputTarget("convert", args.value("--output"), model, ".pdf");
    const modelBoxS box = modelBox(args);
    // The unit box stands in for a box nobody measured: its centre means
    // nothing.
    const bool centred = args.has("--center");
    if (centred && !args.has("--bbox"))
        usageError("convert", "--center needs --bbox");
    if (!output.toStandardOutput)
        refuseOverwritingModel(model, output.path);

    progressC progress(args.has("--quiet"));
    progress.item(std::filesystem::path(model).filename().string());
    const interruptGuardC guard;
    const modelHandoffC handoff(model, progress);
    // What the handoff names is what the module embeds: a model read from a
    // pipe is read once, into the copy, and checked there.
    checkModelStructure(model, handoff.path());
    std::optional<standardOutputC> standardOutput;
    const std::string pdf = output.toStandardOutput ? standardOutput.emplace(".pdf").path() : output.path;
    metaObjectC request =
        centred ? buildCentredRequest(pdf, handoff.path(), box) : buildConversionRequest(pdf, handoff.path(), box);
    const int status = runModuleConversion(args.value("--module"), request,
                                           "the module could not convert " + model + " to " + output.shown, progress);
    if (standardOutput)
        standardOutput->deliver();
    return status;
}
