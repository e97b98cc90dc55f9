// Silhouette and crease outlines, found in the drawn samples rather than in
// the meshes: two neighbouring samples lie on either side of an outline when
// one shows a face and the other nothing, when their depths jump, or when
// their faces meet at the crease angle or more. The nearer sample of such a
// pair gets the outline colour. Finding edges this way needs no adjacency
// of the meshes (whose tables would take more memory than the picture) and
// outlines exactly what is visible, which is what "removes obscured lines"
// asks for.
#pragma once

#include "render/sampleBand.h"

#include <cstdint>

namespace render {

// A face normal as the band keeps it: three signed bytes.
uint32_t packNormal(const float n[3]);

struct outlineS {
    uint32_t colour = 0;
    // Faces whose normals' dot product is below this are creased.
    float creaseCosine = 0;
    // Neighbouring depths (1 / z) further apart than this fraction of the
    // nearer are a jump rather than one surface sloping away.
    float depthJump = 0;
};

// Needs a band with normals whose margin is at least kOutlineMargin rows.
inline constexpr int kOutlineSpread = kSamples / 4;
inline constexpr int kOutlineMargin = kOutlineSpread + 1;

void drawOutlines(sampleBandC& band, const outlineS& outline);

}  // namespace render
