// u3dpdf convert MODEL -o OUT.pdf [--bbox ...] [--scale S], or several models
// into a folder: conversions of model files that the user keeps.
#include "batchConversion.h"
#include "cliArgs.h"
#include "cliExit.h"
#include "commands.h"
#include "conversionRequest.h"
#include "hostPlatform.h"
#include "importedModel.h"
#include "moduleConversion.h"
#include "scaleOption.h"
#include "temporaryCopy.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {

const char* const kHelp =
    "Usage: u3dpdf convert MODEL -o OUT.pdf [--bbox MINX MINY MINZ MAXX MAXY MAXZ]\n"
    "                      [--scale S] [--module PATH]\n"
    "       u3dpdf convert MODEL... -d OUTDIR [-j N] [--bbox ...] [--scale S]\n"
    "                      [--module PATH]\n"
    "\n"
    "Converts the model into a one-page PDF whose 3D annotation embeds it as U3D.\n"
    "A U3D model is embedded as it is. A model of another format (STL, OBJ, PLY,\n"
    "OFF, glTF, 3MF, COLLADA, ...: see u3dpdf formats) is imported and written as\n"
    "U3D first; its box is measured from its geometry. The module deletes the U3D\n"
    "file it converts, so u3dpdf hands it a copy or the U3D it wrote, in\n"
    U3DPDF_TEMPORARY_DIRECTORY_RULE ", and removes that file when the\n"
    "conversion fails: MODEL itself is never changed or deleted.\n"
    "\n"
    "  -o, --output OUT.pdf  the PDF file to write (not MODEL)\n"
    "  --bbox MINX MINY MINZ MAXX MAXY MAXZ\n"
    "                        the model's bounding box, from which the module places\n"
    "                        the default camera. Default for U3D: the unit box\n"
    "                        0 0 0 1 1 1 (u3dpdf does not measure a U3D model); for\n"
    "                        other formats: the box of the geometry. A box whose\n"
    "                        diagonal exceeds 32767/1.8 (about 18203.89) cannot be\n"
    "                        written: the conversion fails; a measured one that\n"
    "                        large is refused with a hint for --scale.\n"
    "  --scale S             for a model of another format: scale it by S (a\n"
    "                        positive number) through a group node above\n"
    "                        everything in it, for models too large for the view\n"
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
    "left and an existing OUT.pdf is kept); 2 usage error, a model that cannot be\n"
    "read or imported (named with the reason), a module that cannot be loaded,\n"
    "or with -d: any model that failed.\n";

const cliOptionS kOptions[] = {
    {"--output", "-o", 1},
    {"--directory", "-d", 1},
    {"--jobs", "-j", 1},
    {"--bbox", nullptr, 6},
    {"--scale", nullptr, 1},
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
    for (const char* option : {"--bbox", "--scale", "--module"})
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

// A model of another format: imported and written as U3D for the module,
// which gets the box of its geometry (or the one given).
int convertImported(const cliArgsC& args, const std::string& model, const std::string& output) {
    const importedModelC imported(model, scaleOption(args, "convert"));
    const modelBoxS box = args.has("--bbox") ? modelBox(args) : imported.box();
    metaObjectC request = buildConversionRequest(output, imported.path(), box);
    return runModuleConversion(args.value("--module"), request,
                               "the module could not convert " + model + " to " + output);
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
    const std::string model = args.operands(1, "MODEL")[0];
    if (!args.has("--output"))
        usageError("convert", "missing -o OUT.pdf");
    const std::string output = args.value("--output");
    const modelBoxS box = modelBox(args);
    refuseOverwritingModel(model, output);
    if (!isU3dFile(model))
        return convertImported(args, model, output);
    if (args.has("--scale"))
        usageError("convert", "--scale applies to models that u3dpdf writes as U3D; " + model + " is U3D already");

    const temporaryCopyC copy(model);
    metaObjectC request = buildConversionRequest(output, copy.path(), box);
    return runModuleConversion(args.value("--module"), request,
                               "the module could not convert " + model + " to " + output +
                                   " (is the output directory writable, is the box diagonal under 18203.89?)");
}
