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
    sceneError(const std::string& message, std::size_t node) : std::runtime_error(message), node_(node) {}

    // The index of the node the fault was found at.
    std::size_t node() const { return node_; }

private:
    std::size_t node_ = 0;
};

// Parent paths beyond this many (over all nodes) are refused: a few dozen
// nodes that each list two parents already make billions of paths.
inline constexpr std::size_t kMaxInstances = 1000000;

// worldBox transforms at most this many positions one by one.
inline constexpr std::size_t kMaxExactTransforms = std::size_t(1) << 28;

// Every model node once per path from it to the world, in node order. A
// parent that names no node of the scene leads nowhere (that path is not in
// the world). Throws sceneError on a parent cycle or more than kMaxInstances
// paths in all.
std::vector<modelInstanceS> modelInstances(const sceneS& scene);

// The world-space box of every position that a primitive of an instanced
// model's geometry uses, each transformed exactly. Geometry that no model
// instances does not count; empty when nothing is instanced. Past
// kMaxExactTransforms positions in all, an instance adds its geometry's box
// transformed instead: a box that holds the exact one.
boxS worldBox(const sceneS& scene, const std::vector<modelInstanceS>& instances);

}  // namespace u3d
