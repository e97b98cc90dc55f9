// What the declarations of meshes, line sets and point sets share: the
// shading descriptions (which attributes the primitives of each shading id
// carry) and the resource description (quality factors and the inverse
// quantisation factors that continuations are decoded with).
#pragma once

#include "u3d/bitWriter.h"
#include "u3d/scene.h"

#include <cstdint>
#include <vector>

namespace u3d {

// One shading id of a geometry: whether its primitives carry diffuse
// colour indices. The writer writes no specular colours and no texture
// coordinates.
struct shadingOutS {
    bool diffuseColors = false;
};

// The shadings a geometry declares: one per shading id from 0 to the
// highest its primitives use (at least one).
std::vector<shadingOutS> geometryShadings(const geometryS& geometry);

// Shading count, then per shading: attributes, no texture layers and the
// shading's own id as its original id.
void writeShadingDescriptions(bitWriterC& w, const std::vector<shadingOutS>& shadings);

// Inverse quantisation factors: a quantised difference d decodes as d times
// the factor.
struct inverseQuantS {
    float position = 1;
    float normal = 1;
    float textureCoord = 1;
    float diffuseColor = 1;
    float specularColor = 1;
};

// The quality the writer claims for every attribute: the highest.
inline constexpr uint32_t kQualityFactor = 1000;

// The factors of the highest quality for normals, texture coordinates and
// colours (2^-14 each), with the given factor for positions.
inverseQuantS highestQualityQuant(float position);

// Position, normal and texture coordinate quality factors, then the five
// inverse quantisation factors.
void writeResourceDescription(bitWriterC& w, const inverseQuantS& quant);

}  // namespace u3d
