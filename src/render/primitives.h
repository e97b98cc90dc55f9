// Points, lines and triangles between camera space and the band: placing
// them against the clipping planes, their facing, and filling them.
#pragma once

#include "render/clipping.h"
#include "render/lighting.h"

#include <cstddef>
#include <cstdint>

namespace render {

// Lines are one pixel wide and dots 2.5 pixels across: thin at 150 pixels
// per inch, yet not lost.
inline constexpr float kLineHalfWidth = 0.5f;
inline constexpr float kDotRadius = 1.25f;

// A vertex of an instance transformed once: camera space, the clipping
// planes it lies outside of, and where it falls on the image when inside.
struct placedVertexS {
    float x, y, z;
    uint32_t outside;
    float screenX, screenY, w;
};

placedVertexS placeVertex(const clipperC& clipper, const float camera[3]);

// What an instance's vertex cache keeps of a placed vertex, 16 bytes: the
// camera-space position of a vertex inside every plane follows from its
// projection, and one outside is placed again when it is drawn.
struct cachedVertexS {
    float screenX, screenY, w;
    uint32_t outside;
};

inline cachedVertexS cached(const placedVertexS& v) { return {v.screenX, v.screenY, v.w, v.outside}; }
placedVertexS uncached(const clipperC& clipper, const cachedVertexS& v);

// A primitive's corners in camera space and, when none lies outside a
// clipping plane, on the image.
template <int kCorners>
struct primitiveS {
    std::size_t index = 0;
    cameraVertexS camera[kCorners];
    screenVertexS screen[kCorners];
    bool clipped = false;

    void setCorner(int k, const placedVertexS& v) {
        camera[k] = {v.x, v.y, v.z, 0, 0, 0};
        screen[k] = {v.screenX, v.screenY, v.w, 0, 0, 0};
    }
    void setColour(int k, rgbF c) {
        camera[k].r = screen[k].r = c.r;
        camera[k].g = screen[k].g = c.g;
        camera[k].b = screen[k].b = c.b;
    }
};

// The unit normal of a triangle turned towards the camera, and whether the
// side it shows is its back (mirror: -1 when the instance's transform
// mirrors); false for a triangle without area.
bool faceNormal(const primitiveS<3>& t, float mirror, float n[3], bool& back);

// Fills the triangle, clipped when it needs to be.
void fillPrimitive(sampleBandC& band, const clipperC& clipper, const primitiveS<3>& t, const paintS& paint);
// A line kLineHalfWidth * 2 wide with square ends.
void fillSegment(sampleBandC& band, const screenVertexS& a, const screenVertexS& b, const paintS& paint);
void fillSegment(sampleBandC& band, const clipperC& clipper, const cameraVertexS& a, const cameraVertexS& b,
                 const paintS& paint);
void fillDot(sampleBandC& band, const clipperC& clipper, const cameraVertexS& v, const paintS& paint);

}  // namespace render
