// u3dpdf convert MODEL -o OUT.pdf|DIR|- [--bbox ... [--center]] [--scale S],
// [presentation options], or several models into a folder: conversions of
// model files that the user keeps.
#include "batchConversion.h"
#include "cliArgs.h"
#include "cliExit.h"
#include "commands.h"
#include "conversionRequest.h"
#include "hostPlatform.h"
#include "importedModel.h"
#include "interruptGuard.h"
#include "measuredBox.h"
#include "modelCheck.h"
#include "modelHandoff.h"
#include "moduleConversion.h"
#include "outputTarget.h"
#include "presentationOptions.h"
#include "progress.h"
#include "scaleOption.h"
#include "standardOutput.h"
#include "translator/customEntryKeys.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>

namespace {

const char* const kHelp =
    "Usage: u3dpdf convert MODEL -o OUT.pdf|DIR|- [--bbox MINX MINY MINZ MAXX MAXY MAXZ\n"
    "                      [--center]] [--scale S] [--quiet] [presentation options]\n"
    "                      [--module PATH]\n"
    "       u3dpdf convert MODEL... -d OUTDIR [-j N] [options as above]\n"
    "\n"
    "Converts the model into a one-page PDF whose 3D annotation embeds it as U3D.\n"
    "A U3D model is embedded as it is. A model of another format (STL, OBJ, PLY,\n"
    "OFF, glTF, 3MF, COLLADA, ...: see u3dpdf formats) is imported and written as\n"
    "U3D first, into a private temporary file. The module deletes the U3D file it\n"
    "converts, so u3dpdf hands it another path to a U3D model's bytes: a view of\n"
    "the open file where the system has one, else a hard link beside the model,\n"
    "else a copy in " U3DPDF_TEMPORARY_DIRECTORY_RULE ".\n"
    "MODEL itself is never changed or deleted.\n"
    "\n"
    "  -o, --output OUT.pdf  the PDF file to write (not MODEL); in an existing\n"
    "                        directory DIR: DIR/MODEL.pdf; - writes the PDF to\n"
    "                        standard output, which must not be a terminal\n"
    "  --bbox MINX MINY MINZ MAXX MAXY MAXZ\n"
    "                        the model's bounding box, from which the module places\n"
    "                        the default camera. Without it u3dpdf measures the\n"
    "                        world box of the model's geometry (for a U3D model,\n"
    "                        while it reads the file anyway) and aims the default\n"
    "                        view at its centre (the module's CenterView entry); a\n"
    "                        U3D model without geometry (only views or lights)\n"
    "                        gets the unit box 0 0 0 1 1 1, with a note on standard\n"
    "                        error. A box whose diagonal exceeds 32767/1.8 (about\n"
    "                        18203.89) cannot be written: the conversion fails; an\n"
    "                        imported model that large is refused naming --scale.\n"
    "  --center              aim the default view at the centre of the --bbox box;\n"
    "                        without it a given box's view orbits the origin\n"
    "  --scale S             for a model of another format: scale it by S (a\n"
    "                        positive number) through a group node above\n"
    "                        everything in it, for models too large for the view\n"
    "  --quiet               no progress line; without it, when standard error is a\n"
    "                        terminal, a line there shows each step while it runs\n"
    "  --module PATH         the module to load (see u3dpdf --help)\n"
    "  -d, --directory OUTDIR\n"
    "                        convert every MODEL into OUTDIR/NAME.pdf (NAME: the\n"
    "                        model's file name without its extension; OUTDIR is\n"
    "                        created when missing), each in a worker process of\n"
    "                        its own, and print one line per model in the order\n"
    "                        given: \"MODEL -> OUTDIR/NAME.pdf\" or \"MODEL: failed:\n"
    "                        REASON\". A model that fails leaves the others alone;\n"
    "                        the exit status is then 2. The other options apply to\n"
    "                        every model; -o is refused with -d, and several models\n"
    "                        need -d.\n"
    "  -j, --jobs N          with -d: N workers at once (1 to 64; default 1)\n"
    "\n";

const char* const kHelpTail =
    "\n"
    "A model whose name ends in .u3d, or that starts as U3D does, is U3D; it is\n"
    "read as U3D first: a file that is not U3D, is truncated or has\n"
    "blocks that run past its end is refused before anything is written. Content\n"
    "that does not decode (viewers may still show the rest) gets a warning line,\n"
    "and the model is embedded as it is, without a poster unless --poster asks\n"
    "for one (the module then refuses to draw what does not decode). A model read\n"
    "from a pipe must be U3D.\n"
    "\n"
    "Interrupted (Ctrl-C, SIGTERM, SIGHUP), u3dpdf removes the temporary files it\n"
    "made, says so in one line and ends by that signal; an existing OUT.pdf is kept.\n"
    "\n"
    "Exit status: 0 converted; 1 the module could not convert (the reason it gives\n"
    "is shown; no output file is left and an existing OUT.pdf is kept); 2 usage\n"
    "error (a presentation value the module does not take among them), a model\n"
    "that cannot be read or imported (named with the reason), a\n"
    "module that cannot be loaded, output that cannot be written, or with -d: any\n"
    "model that failed.\n";

const cliOptionS kOptions[] = {
    {"--output", "-o", 1},
    {"--directory", "-d", 1},
    {"--jobs", "-j", 1},
    {"--bbox", nullptr, 6},
    {"--center", nullptr, 0},
    {"--scale", nullptr, 1},
    {"--quiet", nullptr, 0},
    {"--module", nullptr, 1},
};

// Workers beyond this many only wait for the disk and each other.
constexpr unsigned long kMaxJobs = 64;

unsigned jobCount(const cliArgsC& args) {
    if (!args.has("--jobs"))
        return 1;
    const std::string word = args.value("--jobs");
    errno = 0;
    char* end = nullptr;
    const unsigned long n = std::strtoul(word.c_str(), &end, 10);
    if (word.empty() || word[0] == '-' || *end != '\0' || errno == ERANGE || n < 1 || n > kMaxJobs)
        usageError("convert", "-j: not a number of workers from 1 to " + std::to_string(kMaxJobs) + ": " + word);
    return static_cast<unsigned>(n);
}

// Each worker converts its model with the options given for all of them.
int convertBatch(const cliArgsC& args) {
    if (args.has("--output"))
        usageError("convert", "-o names one PDF, -d a folder for several: give one of them");
    batchS batch;
    batch.models = args.someOperands("MODEL");
    batch.outputFolder = args.value("--directory");
    batch.jobs = jobCount(args);
    std::vector<const char*> shared = {"--bbox", "--center", "--scale", "--quiet", "--module"};
    for (const cliOptionS& option : presentationOptions())
        shared.push_back(option.name);
    for (const char* option : shared)
        if (args.has(option)) {
            batch.workerOptions.push_back(option);
            for (const std::string& value : args.values(option))
                batch.workerOptions.push_back(value);
        }
    return runBatchConversion(batch);
}

std::vector<cliOptionS> convertOptions() {
    std::vector<cliOptionS> options(std::begin(kOptions), std::end(kOptions));
    const std::vector<cliOptionS>& presentation = presentationOptions();
    options.insert(options.end(), presentation.begin(), presentation.end());
    return options;
}

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

// Hands the U3D file to the module. The view comes from the box given with
// --bbox (centred only with --center), else from the one measured (always
// centred: it truly bounds the model), else from the unit box. A poster is
// drawn by default only of a model that decoded completely: one of a part
// would leave out what viewers may still show.
int convertFile(const cliArgsC& args, const std::string& model, const outputTargetS& output, const std::string& u3d,
                const std::optional<modelBoxS>& measured, const presentationEntriesC& presentation, bool decoded,
                progressC& progress) {
    std::optional<standardOutputC> standardOutput;
    const std::string pdf = output.toStandardOutput ? standardOutput.emplace(".pdf").path() : output.path;
    const bool given = args.has("--bbox");
    const modelBoxS box = given || !measured ? modelBox(args) : *measured;
    const bool centred = given ? args.has("--center") : measured.has_value();
    std::vector<customEntryS> entries;
    if (centred)
        entries.push_back({kEntryCenterView, "On"});
    presentation.appendTo(entries, decoded);
    metaObjectC request = buildConversionRequest(pdf, u3d, box, entries);
    const int status = runModuleConversion(args.value("--module"), request,
                                           "the module could not convert " + model + " to " + output.shown, progress);
    if (standardOutput)
        standardOutput->deliver();
    return status;
}

// A U3D model: read once, which also measures it, and handed to the module
// through a path of its own.
int convertU3d(const cliArgsC& args, const std::string& model, const outputTargetS& output,
               const presentationEntriesC& presentation, progressC& progress) {
    if (args.has("--scale"))
        usageError("convert", "--scale applies to models that u3dpdf writes as U3D; " + model + " is U3D already");
    const modelHandoffC handoff(model, progress);
    // What the handoff names is what the module embeds: a model read from a
    // pipe is read once, into the copy, and checked there.
    const modelCheckS check =
        checkModelStructure(model, handoff.path(), presentation.posterChosen() ? "" : ", without a poster");
    if (!check.worldBox.empty)
        return convertFile(args, model, output, handoff.path(), requestBox(check.worldBox), presentation, check.decoded, progress);
    if (!args.has("--bbox"))
        std::fputs(("u3dpdf: " + model +
                    " shows no geometry (only views or lights): the view is made for the unit box 0 0 0 1 1 1\n")
                       .c_str(),
                   stderr);
    return convertFile(args, model, output, handoff.path(), std::nullopt, presentation, check.decoded, progress);
}

// A model of another format: imported and written as U3D for the module,
// which gets the box of its geometry (or the one given).
int convertImported(const cliArgsC& args, const std::string& model, const outputTargetS& output,
                    const presentationEntriesC& presentation, progressC& progress) {
    const importedModelC imported(model, scaleOption(args, "convert"), progress);
    return convertFile(args, model, output, imported.path(), imported.box(), presentation, true, progress);
}

}  // namespace

int runConvert(const std::vector<std::string>& words) {
    const cliArgsC args("convert", convertOptions(), words);
    if (args.helpAsked()) {
        printHelp(kHelp + presentationHelp() + kHelpTail);
        return kExitConverted;
    }
    // What every worker of a batch would refuse is refused once, up front.
    // The unit box stands in for a box nobody measured: its centre means
    // nothing.
    if (args.has("--center") && !args.has("--bbox"))
        usageError("convert", "--center needs --bbox");
    modelBox(args);
    scaleOption(args, "convert");
    // Checked here, before any work, by the module's own rules.
    const presentationEntriesC presentation(args);
    if (args.has("--directory"))
        return convertBatch(args);
    if (args.has("--jobs"))
        usageError("convert", "-j runs workers for several models: it needs -d OUTDIR");
    if (args.someOperands("MODEL").size() > 1)
        usageError("convert", "-o names one PDF: several models need -d OUTDIR");
    const std::string model = args.operands(1, "MODEL")[0];
    if (!args.has("--output"))
        usageError("convert", "missing -o OUT.pdf");
    const outputTargetS output = outputTarget("convert", args.value("--output"), model, ".pdf");
    if (!output.toStandardOutput)
        refuseOverwritingModel(model, output.path);

    progressC progress(args.has("--quiet"));
    progress.item(std::filesystem::path(model).filename().string());
    const interruptGuardC guard;
    // A pipe can be read once: it goes to the module's copy and must be U3D.
    std::error_code ec;
    if (std::filesystem::is_regular_file(model, ec) && !readAsU3d(model))
        return convertImported(args, model, output, presentation, progress);
    return convertU3d(args, model, output, presentation, progress);
}
