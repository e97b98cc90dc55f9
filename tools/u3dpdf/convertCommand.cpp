// u3dpdf convert MODEL.u3d -o OUT.pdf [--bbox ...]: a conversion of a model
// file that the user keeps.
#include "batchConversion.h"
#include "cliArgs.h"
#include "cliExit.h"
#include "commands.h"
#include "conversionRequest.h"
#include "hostPlatform.h"
#include "moduleConversion.h"
#include "temporaryCopy.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {

const char* const kHelp =
    "Usage: u3dpdf convert MODEL.u3d -o OUT.pdf [--bbox MINX MINY MINZ MAXX MAXY MAXZ]\n"
    "                      [--module PATH]\n"
    "       u3dpdf convert MODEL... -d OUTDIR [-j N] [--bbox ...] [--module PATH]\n"
    "\n"
    "Converts the U3D model into a one-page PDF whose 3D annotation embeds it.\n"
    "The module deletes the U3D file it converts, so u3dpdf hands it a copy made\n"
    "in " U3DPDF_TEMPORARY_DIRECTORY_RULE " and removes that copy\n"
    "when the conversion fails: MODEL.u3d itself is never changed or deleted.\n"
    "\n"
    "  -o, --output OUT.pdf  the PDF file to write (required; not MODEL.u3d)\n"
    "  --bbox MINX MINY MINZ MAXX MAXY MAXZ\n"
    "                        the model's bounding box, from which the module places\n"
    "                        the default camera. Default: the unit box 0 0 0 1 1 1\n"
    "                        (u3dpdf does not read the model to measure it). A box\n"
    "                        whose diagonal exceeds 32767/1.8 (about 18203.89)\n"
    "                        cannot be written: the conversion fails.\n"
    "  --module PATH         the module to load (see u3dpdf --help)\n"
    "  -d, --directory OUTDIR\n"
    "                        convert every MODEL into OUTDIR/NAME.pdf (NAME: the\n"
    "                        model's file name without its extension; OUTDIR is\n"
    "                        created when missing), each in a worker process of\n"
    "                        its own, and print one line per model in the order\n"
    "                        given: \"MODEL -> OUTDIR/NAME.pdf\" or \"MODEL: failed:\n"
    "                        REASON\". A model that fails leaves the others alone;\n"
    "                        the exit status is then 2. The other options apply to\n"
    "                        every model.\n"
    "  -j, --jobs N          with -d: N workers at once (1 to 64; default 1)\n"
    "\n"
    "Exit status: 0 converted; 1 the module could not convert (no output file is\n"
    "left and an existing OUT.pdf is kept); 2 usage error, unreadable model or a\n"
    "module that cannot be loaded.\n";

const cliOptionS kOptions[] = {
    {"--output", "-o", 1},
    {"--directory", "-d", 1},
    {"--jobs", "-j", 1},
    {"--bbox", nullptr, 6},
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
    for (const char* option : {"--bbox", "--module"})
        if (args.has(option)) {
            batch.workerOptions.push_back(option);
            for (const std::string& value : args.values(option))
                batch.workerOptions.push_back(value);
        }
    return runBatchConversion(batch);
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

}  // namespace

int runConvert(const std::vector<std::string>& words) {
    const cliArgsC args("convert", kOptions, words);
    if (args.helpAsked()) {
        printHelp(kHelp);
        return kExitConverted;
    }
    if (args.has("--directory"))
        return convertBatch(args);
    if (args.has("--jobs"))
        usageError("convert", "-j runs workers for several models: it needs -d OUTDIR");
    const std::string model = args.operands(1, "MODEL.u3d")[0];
    if (!args.has("--output"))
        usageError("convert", "missing -o OUT.pdf");
    const std::string output = args.value("--output");
    const modelBoxS box = modelBox(args);
    refuseOverwritingModel(model, output);

    const temporaryCopyC copy(model);
    metaObjectC request = buildConversionRequest(output, copy.path(), box);
    return runModuleConversion(args.value("--module"), request,
                               "the module could not convert " + model + " to " + output +
                                   " (is the output directory writable, is the box diagonal under 18203.89?)");
}
