#include "u3d/updateFields.h"

#include "u3d/contexts.h"

#include <string>

namespace u3d {

resolutionRangeS readResolutionRange(bitReaderC& in, std::size_t current, uint32_t max) {
    in.readU32();  // modifier chain index
    resolutionRangeS range;
    range.start = in.readU32();
    range.end = in.readU32();
    if (range.start != current)
        in.fail("resolution updates from " + std::to_string(range.start) + ", but the resource has " +
                std::to_string(current) + " positions");
    if (range.end < range.start || range.end > max)
        in.fail("resolution updates up to " + std::to_string(range.end) + ", but the declaration allows " +
                std::to_string(max) + " positions");
    return range;
}

void skipQuantised(bitReaderC& in, uint32_t signContext, uint32_t firstMagnitude, unsigned components) {
    in.readCompressedU8(signContext);
    for (unsigned i = 0; i < components; ++i)
        in.readCompressedU32(firstMagnitude + i);
}

vec3f readPositionDifference(bitReaderC& in, vec3f predicted, float inverseQuant) {
    const uint8_t signs = in.readCompressedU8(ctx::kPositionDiffSigns);
    float* axes[3] = {&predicted.x, &predicted.y, &predicted.z};
    for (unsigned axis = 0; axis < 3; ++axis) {
        const float d = inverseQuant * static_cast<float>(in.readCompressedU32(ctx::kPositionDiffMagX + axis));
        *axes[axis] += (signs >> axis) & 1 ? -d : d;
    }
    return predicted;
}

}  // namespace u3d
