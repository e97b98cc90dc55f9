#include "importedModel.h"

#include "cliExit.h"
#include "hostPlatform.h"
#include "modelImport.h"
#include "u3d/sceneInstances.h"
#include "u3d/sceneScale.h"
#include "u3d/writer.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

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

bool isU3dFile(const std::string& path) {
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

modelBoxS sceneBox(const u3d::sceneS& scene) {
    const u3d::boxS box = u3d::worldBox(scene, u3d::modelInstances(scene));
    modelBoxS out{};
    for (int i = 0; i < 3; ++i) {
        out.min[i] = box.min[i];
        out.max[i] = box.max[i];
    }
    return out;
}

importedModelC::importedModelC(const std::string& model, double scale) {
    const u3d::sceneS scene = importedScene(model, scale);
    try {
        box_ = sceneBox(scene);
    } catch (const u3d::sceneError& e) {
        inputError(model + ": " + e.what());
    }
    const double diagonal = std::hypot(box_.max[0] - box_.min[0], box_.max[1] - box_.min[1], box_.max[2] - box_.min[2]);
    if (diagonal > kLargestDiagonal)
        inputError(tooLarge(model, diagonal, scale));

    const std::string dir = hostPlatform::temporaryDirectory();
    path_ = hostPlatform::createTemporaryFile(dir, "u3dpdf-", ".u3d");
    if (path_.empty())
        inputError("cannot create a temporary file in " + dir + ": " + std::strerror(errno));
    try {
        u3d::writeU3dFile(scene, path_);
    } catch (const std::exception& e) {
        std::remove(path_.c_str());
        inputError(model + ": " + e.what());
    }
}

importedModelC::~importedModelC() { std::remove(path_.c_str()); }
