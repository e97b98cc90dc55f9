// A uniform scale for a whole scene, applied where a viewer applies it: in
// the transform of one new group node above everything that stands in the
// world. Positions stay as they are.
#pragma once

#include "u3d/scene.h"

#include <string>

namespace u3d {

// Adds a group node under the world whose transform scales by `factor`
// (finite and positive) and moves every world parent of the other nodes to
// it, with the transform it had. Returns the group's name: "scale", or
// "scale 2", "scale 3", ... when a node already has the name.
std::string scaleUnderNewRoot(sceneS& scene, double factor);

}  // namespace u3d
