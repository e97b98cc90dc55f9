#include "importedModel.h"

#include "cliExit.h"
#include "measuredBox.h"
#include "modelImport.h"
#include "progress.h"
#include "u3d/sceneInstances.h"
#include "u3d/sceneScale.h"
#include "u3d/writer.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// The size of the model, and a scale that brings it within the view's
// reach: the one given times a power of ten.
std::string tooLarge(const std::string& model, double diagonal, double scale) {
    const double factor = scale * std::pow(10.0, std::floor(std::log10(kLargestDiagonal / diagonal)));
    char text[200];
    std::snprintf(text, sizeof text,
                  ": the model's box diagonal is %.2f, more than a PDF 3D view holds (32767/1.8, about %.2f): "
                  "shrink it with --scale S, for example --scale %g",
                  diagonal, kLargestDiagonal, factor);
    return model + text;
}

}  // namespace

bool readAsU3d(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".u3d")
        return true;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        inputError("cannot read " + path + ": " + std::strerror(errno));
    unsigned char magic[4] = {};
    const bool u3d = std::fread(magic, 1, 4, file) == 4 && std::memcmp(magic, "U3D", 4) == 0;
    std::fclose(file);
    return u3d;
}

u3d::sceneS importedScene(const std::string& model, double scale) {
    u3d::sceneS scene = importModel(model);
    if (scale != 1)
        u3d::scaleUnderNewRoot(scene, scale);
    return scene;
}

importedModelC::importedModelC(const std::string& model, double scale, progressC& progress) {
    progress.step("importing");
    const u3d::sceneS scene = importedScene(model, scale);
    try {
        box_ = requestBox(u3d::worldBox(scene, u3d::modelInstances(scene)));
    } catch (const u3d::sceneError& e) {
        inputError(model + ": " + e.what());
    }
    const double diagonal = boxDiagonal(box_);
    if (diagonal > kLargestDiagonal)
        inputError(tooLarge(model, diagonal, scale));

    progress.step("writing U3D");
    std::string error;
    try {
        u3d::writeU3dStream(scene, file_.file(), file_.shown());
    } catch (const std::exception& e) {
        error = model + ": " + e.what();
    }
    const std::string finished = file_.finishWriting();
    if (error.empty())
        error = finished;
    // A file that failed goes with the member.
    if (!error.empty())
        inputError(error);
}
