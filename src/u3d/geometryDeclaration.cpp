#include "u3d/geometryDeclaration.h"

#include <algorithm>
#include <cmath>

namespace u3d {

std::vector<shadingOutS> geometryShadings(const geometryS& geometry) {
    uint32_t highest = 0;
    for (uint32_t id : geometry.shadingIds)
        highest = std::max(highest, id);
    return std::vector<shadingOutS>(std::size_t(highest) + 1, shadingOutS{!geometry.diffuseIndices.empty()});
}

void writeShadingDescriptions(bitWriterC& w, const std::vector<shadingOutS>& shadings) {
    w.writeU32(static_cast<uint32_t>(shadings.size()));
    for (std::size_t id = 0; id < shadings.size(); ++id) {
        w.writeU32(shadings[id].diffuseColors ? 1 : 0);
        w.writeU32(0);  // texture layers
        w.writeU32(static_cast<uint32_t>(id));
    }
}

inverseQuantS highestQualityQuant(float position) {
    const float fine = std::ldexp(1.0f, -14);
    return {position, fine, fine, fine, fine};
}

void writeResourceDescription(bitWriterC& w, const inverseQuantS& quant) {
    for (int i = 0; i < 3; ++i)
        w.writeU32(kQualityFactor);
    w.writeF32(quant.position);
    w.writeF32(quant.normal);
    w.writeF32(quant.textureCoord);
    w.writeF32(quant.diffuseColor);
    w.writeF32(quant.specularColor);
}

}  // namespace u3d
