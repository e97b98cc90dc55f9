// Fields that the resolution updates of CLOD meshes, line sets and point
// sets share.
#pragma once

#include "u3d/bitReader.h"
#include "u3d/scene.h"

#include <cstdint>

namespace u3d {

// The resolution range of a continuation block after its chain index: the
// first update must continue where the resource stands (`current`
// positions) and the last may not pass the declaration's `max`.
struct resolutionRangeS {
    uint32_t start = 0;
    uint32_t end = 0;
};
resolutionRangeS readResolutionRange(bitReaderC& in, std::size_t current, uint32_t max);

// A quantised value whose sign bits come first in one U8, then the
// magnitude of each of `components` components with consecutive contexts
// from `firstMagnitude`; read to stay in step with the bit stream.
void skipQuantised(bitReaderC& in, uint32_t signContext, uint32_t firstMagnitude, unsigned components);

// A new position: `predicted` plus a quantised difference, the magnitudes
// times the declaration's inverse quantisation factor in single precision,
// as the format's writers compute them.
vec3f readPositionDifference(bitReaderC& in, vec3f predicted, float inverseQuant);

}  // namespace u3d
