// A model that is not U3D, made into one: imported, scaled when asked
// (through a root group node, as viewers apply it), measured, and written as
// U3D.
#pragma once

#include "conversionRequest.h"
#include "temporaryFile.h"
#include "u3d/scene.h"

#include <string>

class progressC;

// Whether the model is read as U3D: its name ends in .u3d (a file of
// another format renamed so is refused by the reader as not U3D, rather
// than imported as what it is) or it starts as a U3D file does. An input
// error when it cannot be read.
bool readAsU3d(const std::string& path);

// The model's scene, scaled by `scale` when it is not 1. An input error
// naming the model when it cannot be imported, holds nothing to draw or
// cannot be written as U3D.
u3d::sceneS importedScene(const std::string& model, double scale);

// The model as a U3D file of its own in the temporary directory (a
// temporaryFileC: unnamed where the system allows it, else removed by an
// interruption), for the module, which deletes the U3D file it converts;
// whatever of it is left goes with this object. The box comes from the
// geometry, after the scale; a box too large for the view is an input
// error that names --scale with a factor that would do.
class importedModelC {
public:
    importedModelC(const std::string& model, double scale, progressC& progress);
    importedModelC(const importedModelC&) = delete;
    importedModelC& operator=(const importedModelC&) = delete;

    const std::string& path() const { return file_.path(); }
    const modelBoxS& box() const { return box_; }

private:
    temporaryFileC file_;
    modelBoxS box_{};
};
