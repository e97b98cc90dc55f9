// A line set or point set resource as its blocks arrive: the declaration,
// then continuations that each add positions one by one with the lines or
// points that end at them.
#pragma once

#include "u3d/bitReader.h"
#include "u3d/meshShading.h"
#include "u3d/scene.h"

#include <cstdint>
#include <vector>

namespace u3d {

// Each read function takes the block after its name. Normals, colours and
// texture coordinates are read as the format requires; the scene keeps
// positions, primitives and shading ids.
class primitiveSetC {
public:
    explicit primitiveSetC(geometryKindE kind) : kind_(kind) {}
    void readDeclaration(bitReaderC& in, geometryS& set);
    void readContinuation(bitReaderC& in, geometryS& set);

private:
    // One end of a primitive: its normal, colours and texture coordinates.
    void readEnd(bitReaderC& in, const meshShadingS& shading);

    geometryKindE kind_;
    bool declared_ = false;
    std::vector<meshShadingS> shadings_;
    uint32_t maxPositions_ = 0;
    uint32_t textureCoords_ = 0;
    float inverseQuantPosition_ = 1;
};

}  // namespace u3d
