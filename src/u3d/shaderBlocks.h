// Lit texture shader and material resource blocks: what a shading id of a
// model is drawn with.
#pragma once

#include "u3d/blockFraming.h"
#include "u3d/scene.h"

namespace u3d {

// Lighting on, no alpha test, alpha blending, one render pass, no texture
// layers, the shader's material. With vertexColors the shader lights with
// the diffuse colours of the geometry's corners instead of the material's.
outBlockS litTextureShaderBlock(const shaderS& shader, bool vertexColors);

// Every colour, the reflectivity and the opacity (attributes 0x3F); the
// colours' alpha is not part of the block.
outBlockS materialBlock(const materialS& material);

}  // namespace u3d
