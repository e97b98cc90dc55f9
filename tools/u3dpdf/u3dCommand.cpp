// u3dpdf u3d MODEL -o OUT.u3d|DIR|- [--scale S]: the U3D file alone, for
// those who embed it with other tools.
#include "cliArgs.h"
#include "cliExit.h"
#include "commands.h"
#include "hostPlatform.h"
#include "importedModel.h"
#include "interruptGuard.h"
#include "outputTarget.h"
#include "progress.h"
#include "scaleOption.h"
#include "standardOutput.h"
#include "streamCopy.h"
#include "u3d/writer.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

namespace {

const char* const kHelp =
    "Usage: u3dpdf u3d MODEL -o OUT.u3d|DIR|- [--scale S] [--quiet] [--module PATH]\n"
    "\n"
    "Writes the model, in any format u3dpdf imports (see u3dpdf formats), as a\n"
    "U3D file, for LaTeX and other tools that embed U3D themselves: the node\n"
    "tree with its transforms, meshes with their normals and vertex colours,\n"
    "line sets, point sets, and a shader and material per material the model\n"
    "names. OUT.u3d is written under a hidden name beside it and replaces an\n"
    "existing file only once complete; an interruption removes the hidden file.\n"
    "\n"
    "  -o, --output OUT.u3d  the U3D file to write (required; not MODEL); in an\n"
    "                        existing directory DIR: DIR/MODEL.u3d; - writes it to\n"
    "                        standard output, which must not be a terminal\n"
    "  --scale S             scale the whole model by S (a positive number),\n"
    "                        through a group node above everything in it\n"
    "  --quiet               no progress line on a terminal\n"
    "  --module PATH         accepted like on every command, but not used: u3d\n"
    "                        does not load the module\n"
    "\n"
    "Exit status: 0 written; 2 usage error, a model that cannot be read or\n"
    "imported (it is named with the reason), or a file that cannot be written;\n"
    "nothing is left at OUT.u3d then.\n";

const cliOptionS kOptions[] = {
    {"--output", "-o", 1},
    {"--scale", nullptr, 1},
    {"--quiet", nullptr, 0},
    {"--module", nullptr, 1},
};

// Writes the scene into the file at path, which this process owns.
void writeInto(const u3d::sceneS& scene, const std::string& model, const std::string& path) {
    filePtr out(std::fopen(path.c_str(), "wb"));
    if (!out)
        inputError("cannot write " + path + ": " + std::strerror(errno));
    try {
        u3d::writeU3dStream(scene, out.get(), path);
    } catch (const std::exception& e) {
        inputError(model + ": " + e.what());
    }
    if (std::fclose(out.release()) != 0)
        inputError("cannot write " + path + ": " + std::strerror(errno));
}

// Through a hidden name beside the target, moved onto it once complete: an
// existing file is replaced only by a whole one.
void writeReplacing(const u3d::sceneS& scene, const std::string& model, const std::string& target) {
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    std::unique_ptr<guardedFileC> hidden;
    {
        const interruptHoldC hold;
        const std::string path =
            hostPlatform::createTemporaryFile(folder.empty() ? "." : folder.string(), ".u3dpdf-", ".u3d");
        if (path.empty())
            inputError("cannot create a file beside " + target + ": " + std::strerror(errno));
        hidden = std::make_unique<guardedFileC>(path);
    }
    writeInto(scene, model, hidden->path());
    // The hidden file was made for this user alone: the result gets the
    // permissions of the file it replaces, or those the user's umask gives
    // a new file.
    std::error_code ec;
    const std::filesystem::file_status existing = std::filesystem::status(target, ec);
    const std::filesystem::perms perms = std::filesystem::exists(existing)
                                             ? existing.permissions()
                                             : std::filesystem::perms(hostPlatform::newFilePermissions());
    std::filesystem::permissions(hidden->path(), perms, ec);
    const interruptHoldC hold;
    std::filesystem::rename(hidden->path(), target, ec);
    if (ec)
        inputError("cannot write " + target + ": " + ec.message());
    hidden->release();
}

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
    const outputTargetS output = outputTarget("u3d", args.value("--output"), model, ".u3d");
    const double scale = scaleOption(args, "u3d");
    std::error_code ec;
    if (!output.toStandardOutput && std::filesystem::equivalent(model, output.path, ec))
        usageError("u3d", "the output " + output.path + " is the model " + model);
    if (readAsU3d(model))
        inputError(model + " is a U3D file already");
    progressC progress(args.has("--quiet"));
    progress.item(std::filesystem::path(model).filename().string());
    const interruptGuardC guard;
    progress.step("importing");
    const u3d::sceneS scene = importedScene(model, scale);
    progress.step("writing U3D");
    if (!output.toStandardOutput) {
        writeReplacing(scene, model, output.path);
        return kExitConverted;
    }
    standardOutputC standardOutput(".u3d");
    writeInto(scene, model, standardOutput.path());
    standardOutput.deliver();
    return kExitConverted;
}
