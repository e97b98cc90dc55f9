// The scene made ready for drawing: every model instance with its geometry,
// its transforms to camera space and the colours of its shading ids.
#pragma once

#include "render/lighting.h"
#include "render/viewTransform.h"
#include "u3d/scene.h"

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

namespace render {

struct boxF {
    float min[3] = {0, 0, 0};
    float max[3] = {0, 0, 0};
    bool empty = true;

    void add(const float p[3]);
};

// What the drawing needs of one geometry resource, worked out once however
// many instances show it.
struct geometryInfoS {
    // Primitives are visited in chunks of this many; a chunk whose box
    // misses the band being drawn is passed over whole.
    static constexpr std::size_t kChunk = 64;

    const u3d::geometryS* geometry = nullptr;
    std::size_t primitives = 0;
    // Attribute lists that do not match the positions are ignored.
    bool normals = false;
    bool colours = false;
    bool shadingIds = false;
    std::vector<boxF> chunkBoxes;  // in resource space
    boxF bounds;
};

// The colours of one shading id.
struct materialColoursS {
    surfaceS surface;
    float opacity = 1;
};

struct drawItemS {
    const geometryInfoS* info = nullptr;
    affine3f toCamera;
    affine3f normalToCamera;
    // -1 when the transform mirrors: a face's winding then gives the
    // opposite side, which the cross product of its edges must undo.
    float mirror = 1;
    // By shading id, then the default for ids beyond the node's shaders.
    const std::vector<materialColoursS>* materials = nullptr;

    const materialColoursS& material(std::size_t primitive) const;
};

struct drawItemsS {
    std::vector<std::unique_ptr<geometryInfoS>> geometries;
    std::vector<drawItemS> items;
    std::unordered_map<std::size_t, std::vector<materialColoursS>> materialsByNode;
    // The depth of the farthest corner of any instance's box; 0 or less
    // when nothing lies in front of the camera.
    float farthest = 0;
};

// The neutral grey of primitives whose shading id leads to no material.
materialColoursS defaultMaterial();

// Throws u3d::sceneError when the nodes cannot be placed.
drawItemsS prepareItems(const u3d::sceneS& scene, const viewS& view);

}  // namespace render
