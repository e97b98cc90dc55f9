// Where the model nodes of a scene stand in the world.
#pragma once

#include "u3d/scene.h"

#include <stdexcept>
#include <vector>

namespace u3d {

// A scene whose node graph cannot be placed in the world: a parent cycle, or
// more parent paths than any real scene has.
class sceneError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parent paths beyond this many are refused: a few dozen nodes that each
// list two parents already make billions of paths.
inline constexpr std::size_t kMaxInstances = 1000000;

// Every model node once per path from it to the world, in node order. A
// parent that names no node of the scene leads nowhere (that path is not in
// the world). Throws sceneError on a parent cycle or more than kMaxInstances
// paths through any node.
std::vector<modelInstanceS> modelInstances(const sceneS& scene);

// The world-space box of every position that a primitive of an instanced
// model's geometry uses, each transformed exactly. Geometry that no model
// instances does not count; empty when nothing is instanced.
boxS worldBox(const sceneS& scene, const std::vector<modelInstanceS>& instances);

}  // namespace u3d
