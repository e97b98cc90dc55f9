// Cutting shapes in camera space down to what may be projected: in front
// of the near plane and inside the guard band around the image.
#pragma once

#include "render/rasterise.h"
#include "render/viewTransform.h"

#include <cstdint>

namespace render {

// A vertex in camera space with the colour it carries (left uninitialised
// by default: primitives are made by the million and filled in at once).
struct cameraVertexS {
    float x;
    float y;
    float z;
    float r;
    float g;
    float b;
};

class clipperC {
public:
    clipperC(const viewS& view, float nearZ);

    // The planes a camera-space point lies outside of, one bit each; 0 is
    // inside all. A point with a coordinate that is not finite is outside
    // every plane and marked kInvalid.
    static constexpr uint32_t kNear = 1;
    static constexpr uint32_t kInvalid = 1u << 5;
    uint32_t outside(const float p[3]) const;

    // Where the point falls on the image; only for points inside.
    screenVertexS project(const cameraVertexS& v) const;
    // The camera-space point that projects there.
    cameraVertexS unproject(const screenVertexS& v) const;

    // The convex polygon (up to kMaxPolygon vertices) left of a triangle,
    // projected; returns the vertex count, below 3 when nothing is left.
    static constexpr int kMaxPolygon = 9;
    int clipTriangle(const cameraVertexS in[3], screenVertexS out[kMaxPolygon]) const;
    // The part of a segment that is left, projected; false when none is.
    bool clipSegment(const cameraVertexS& a, const cameraVertexS& b, screenVertexS out[2]) const;

private:
    // The planes as (a, b, c, d): inside where a x + b y + c z + d >= 0.
    float planes_[5][4];
    float centreX_, centreY_, focal_, inverseFocal_;
};

}  // namespace render
