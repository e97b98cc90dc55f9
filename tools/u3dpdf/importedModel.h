// A model that is not U3D, made into one: imported, scaled when asked
// (through a root group node, as viewers apply it), measured, and written as
// U3D.
#pragma once

#include "conversionRequest.h"
#include "u3d/scene.h"

#include <string>

// What a PDF's 3D view holds: a camera farther than 32767 units cannot be
// written, and the module places it 1.8 box diagonals away.
inline constexpr double kLargestDiagonal = 32767 / 1.8;

// Whether the file starts as a U3D file does; an input error when it cannot
// be read.
bool isU3dFile(const std::string& path);

// The model's scene, scaled by `scale` when it is not 1. An input error
// naming the model when it cannot be imported, holds nothing to draw or
// cannot be written as U3D.
u3d::sceneS importedScene(const std::string& model, double scale);

// The world box of the scene's geometry as the request carries it.
modelBoxS sceneBox(const u3d::sceneS& scene);

// The model as a U3D file of its own in the temporary directory, for the
// module, which deletes the U3D file it converts; whatever of it is left
// goes with this object. The box comes from the geometry.
class importedModelC {
public:
    importedModelC(const std::string& model, double scale);
    ~importedModelC();
    importedModelC(const importedModelC&) = delete;
    importedModelC& operator=(const importedModelC&) = delete;

    const std::string& path() const { return path_; }
    const modelBoxS& box() const { return box_; }

private:
    std::string path_;
    modelBoxS box_{};
};
