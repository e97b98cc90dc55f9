#include "import/meshImport.h"

#include "import/fileChecks.h"
#include "import/loaderOutput.h"
#include "import/modelFiles.h"
#include "import/meshMapping.h"
#include "import/sceneMapping.h"

#include <assimp/Importer.hpp>
#include <assimp/ai_assert.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <new>

namespace meshimport {

namespace {

namespace fs = std::filesystem;

// Run after the loader's output is checked: polygons into triangles, and
// each mesh split by primitive type so that lines and points come out as
// meshes of their own. Missing normals are made in the mapping
// (faceNormals.h), once the positions are joined.
constexpr unsigned kSteps = aiProcess_Triangulate | aiProcess_SortByPType;

constexpr const char* kNoGeometry = "the file holds no geometry (no triangle, line or point)";

std::string lowerExtension(const std::string& name) {
    std::string extension = fs::path(name).extension().string();
    if (!extension.empty())
        extension.erase(0, 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return extension;
}

[[noreturn]] void loaderFailed(const std::string& message) {
    if (message.rfind("No suitable reader found", 0) == 0)
        throw unknownFormatError("not in a format this build reads");
    throw importError(message.empty() ? "the reader failed without saying why" : message);
}

// The importer's IO handler names the one model file to read.
u3d::sceneS importWith(Assimp::Importer& importer, const std::string& file, const std::string& rootName) {
    {
        Assimp::IOSystem* files = importer.GetIOHandler();
        const auto close = [files](Assimp::IOStream* stream) { files->Close(stream); };
        const std::unique_ptr<Assimp::IOStream, decltype(close)> stream(files->Open(file.c_str(), "rb"), close);
        if (!stream)
            throw importError("cannot be opened");
        checkBeforeLoading(*stream, lowerExtension(file));
    }

    // The loader alone first: its output is checked before any processing
    // step sees it.
    const aiScene* loaded = importer.ReadFile(file, 0);
    if (!loaded)
        loaderFailed(importer.GetErrorString());
    // The importer owns the scene and hands it out as const; the check
    // drops unusable normals from it before the steps run.
    checkLoaderOutput(const_cast<aiScene&>(*loaded));
    // A file without meshes (a node tree, an animation) comes back marked
    // incomplete, and some loaders put a mesh of their own in it that draws
    // the node tree: that is not the file's geometry.
    if (loaded->mFlags & AI_SCENE_FLAGS_INCOMPLETE)
        throw importError(kNoGeometry);
    const aiScene* processed = importer.ApplyPostProcessing(kSteps);
    if (!processed)
        loaderFailed(importer.GetErrorString());

    u3d::sceneS scene = mapScene(*processed, rootName);
    // A document that shows nothing would be a failure reported as success.
    if (scene.geometries.empty())
        throw importError(kNoGeometry);
    if (std::none_of(scene.geometries.begin(), scene.geometries.end(), drawsSomething))
        throw importError("every face has zero area: there is nothing to draw");
    return scene;
}

}  // namespace

u3d::sceneS importFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status))
        throw importError("cannot be read: " + (ec ? ec.message() : std::string("No such file or directory")));
    if (!fs::is_regular_file(status))
        throw importError("is not a regular file");
    std::string rootName = fs::path(path).stem().string();
    try {
        Assimp::Importer importer;
        importer.SetIOHandler(new modelFolderC(path));
        return importWith(importer, path, rootName.empty() ? "model" : rootName);
    } catch (const std::bad_alloc&) {
        throw importError("not enough memory to import it");
    }
}

u3d::sceneS importBytes(std::span<const unsigned char> bytes, const std::string& extension,
                        const std::string& rootName) {
    const std::string name = "model." + extension;
    try {
        Assimp::Importer importer;
        importer.SetIOHandler(new memoryFileC(bytes, name));
        return importWith(importer, name, rootName);
    } catch (const std::bad_alloc&) {
        throw importError("not enough memory to import it");
    }
}

}  // namespace meshimport

// Debian builds assimp with its internal assertions on, and a failed one
// ends the process: a 3MF package without its model part would crash
// u3dpdf. assimp's own releases compile these checks out and run on. This
// definition takes the place of the library's (a definition in the program
// wins over the shared library's), so that a failed check ends the import
// instead: the exception leaves through assimp's code like its own errors,
// and ReadFile reports it.
namespace Assimp {

void aiAssertViolation(const char* failed, const char* file, int line) {
    throw meshimport::importError(std::string("the reader failed its own check ") + failed + " (" + file + ":" +
                                  std::to_string(line) + ")");
}

}  // namespace Assimp
