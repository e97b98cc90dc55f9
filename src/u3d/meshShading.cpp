#include "u3d/meshShading.h"

#include <string>

namespace u3d {

namespace {

// What the format's readers have room for.
constexpr uint32_t kMaxTextureLayers = 8;

}  // namespace

std::vector<meshShadingS> readMeshShadings(bitReaderC& in) {
    const uint32_t count = in.readU32();
    // Each description takes at least three U32 values.
    if (count > in.bitsLeft() / 96)
        in.fail("shading count " + std::to_string(count) + " is more than the block can hold");
    std::vector<meshShadingS> shadings(count);
    for (meshShadingS& shading : shadings) {
        const uint32_t attributes = in.readU32();
        shading.diffuseColors = attributes & 1;
        shading.specularColors = attributes & 2;
        shading.textureLayers = in.readU32();
        if (shading.textureLayers > kMaxTextureLayers)
            in.fail("a shading with " + std::to_string(shading.textureLayers) + " texture layers (at most " +
                    std::to_string(kMaxTextureLayers) + ")");
        for (uint32_t layer = 0; layer < shading.textureLayers; ++layer)
            in.readU32();  // texture coordinate dimensions
        in.readU32();      // original shading id
    }
    return shadings;
}

const meshShadingS& shadingOf(bitReaderC& in, const std::vector<meshShadingS>& shadings, uint32_t id) {
    if (id >= shadings.size())
        in.fail("shading id " + std::to_string(id) + " of a primitive, but the declaration has " +
                std::to_string(shadings.size()) + " shadings");
    return shadings[id];
}

void appendShadingId(geometryS& geometry, uint32_t id) {
    // The list stays empty while every id is 0; the first other id fills in
    // the zeros before it (none, when it is the first primitive's).
    if (geometry.shadingIds.empty()) {
        if (id == 0)
            return;
        geometry.shadingIds.assign(geometry.primitiveCount(), 0);
    }
    geometry.shadingIds.push_back(id);
}

}  // namespace u3d
