// The blocks of a U3D file that fill the scene directly: nodes, shaders,
// materials, shading modifiers, file references. Each reads the block's
// data from its start.
#pragma once

#include "u3d/bitReader.h"
#include "u3d/fileSummary.h"
#include "u3d/scene.h"

#include <string>
#include <vector>

namespace u3d {

// A group, model, light or view node block: name, parents with their
// transforms, and the resource that model, light and view nodes name.
nodeS readNode(bitReaderC& in, uint32_t blockType);
shaderS readLitTextureShader(bitReaderC& in);
materialS readMaterial(bitReaderC& in);

struct shadingModifierS {
    std::string name;
    // The first shader of each shader list, one list per shading id.
    std::vector<std::string> shaders;
};
shadingModifierS readShadingModifier(bitReaderC& in);

fileReferenceS readFileReference(bitReaderC& in);

// The optional bounds of a modifier chain or file reference: a bounding
// sphere (attribute bit 0) and an axis-aligned box (bit 1).
void skipBounds(bitReaderC& in, uint32_t attributes);

}  // namespace u3d
