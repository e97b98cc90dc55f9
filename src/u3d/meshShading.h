// The shading descriptions of a mesh, line set or point set declaration:
// which attributes the primitives of each shading id carry, and so which
// values their continuations hold.
#pragma once

#include "u3d/bitReader.h"
#include "u3d/scene.h"

#include <cstdint>
#include <vector>

namespace u3d {

struct meshShadingS {
    bool diffuseColors = false;
    bool specularColors = false;
    uint32_t textureLayers = 0;
};

// Shading count, then per shading: attributes, texture layer count, the
// dimension of each layer and the original shading id.
std::vector<meshShadingS> readMeshShadings(bitReaderC& in);

// The shading of a primitive's shading id; a formatError when the
// declaration has no such shading.
const meshShadingS& shadingOf(bitReaderC& in, const std::vector<meshShadingS>& shadings, uint32_t id);

// Records the shading id of the next primitive (before its indices are
// added). The list stays empty while every id is 0.
void appendShadingId(geometryS& geometry, uint32_t id);

}  // namespace u3d
