#include "render/clipping.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace render {

namespace {

float distance(const float plane[4], const cameraVertexS& v) {
    return plane[0] * v.x + plane[1] * v.y + plane[2] * v.z + plane[3];
}

cameraVertexS between(const cameraVertexS& a, const cameraVertexS& b, float t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t,
            a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

}  // namespace

clipperC::clipperC(const viewS& view, float nearZ)
    : centreX_(float(view.centreX)),
      centreY_(float(view.centreY)),
      focal_(float(view.focal)),
      inverseFocal_(float(1 / view.focal)) {
    const float g = float(view.guard);
    const float planes[5][4] = {{0, 0, 1, -nearZ}, {1, 0, g, 0}, {-1, 0, g, 0}, {0, 1, g, 0}, {0, -1, g, 0}};
    for (int i = 0; i < 5; ++i)
        for (int k = 0; k < 4; ++k)
            planes_[i][k] = planes[i][k];
}

uint32_t clipperC::outside(const float p[3]) const {
    if (!std::isfinite(p[0] + p[1] + p[2]))
        return 0x1f | kInvalid;
    uint32_t bits = 0;
    for (int i = 0; i < 5; ++i)
        if (planes_[i][0] * p[0] + planes_[i][1] * p[1] + planes_[i][2] * p[2] + planes_[i][3] < 0)
            bits |= 1u << i;
    return bits;
}

// A view's camera frame is right-handed, +z along the view and +y up
// (ISO 32000-1, 13.6.5; the standard's own front view, C2W [-1 0 0 0 0 1 0 1
// 0 0 -10 0], has camera x = world -X). Viewers show such a frame
// unmirrored, so camera +x is the image's left: x grows to the left and y
// upwards, while pixel columns grow to the right and rows downwards.
screenVertexS clipperC::project(const cameraVertexS& v) const {
    const float w = 1.0f / v.z;
    return {centreX_ - focal_ * v.x * w, centreY_ - focal_ * v.y * w, w, v.r, v.g, v.b};
}

cameraVertexS clipperC::unproject(const screenVertexS& v) const {
    const float z = 1.0f / v.w, scale = z * inverseFocal_;
    return {(centreX_ - v.x) * scale, (centreY_ - v.y) * scale, z, v.r, v.g, v.b};
}

int clipperC::clipTriangle(const cameraVertexS in[3], screenVertexS out[kMaxPolygon]) const {
    // One plane after another (Sutherland-Hodgman); each can add one vertex.
    cameraVertexS a[kMaxPolygon], b[kMaxPolygon];
    cameraVertexS* polygon = a;
    cameraVertexS* next = b;
    int count = 3;
    for (int i = 0; i < 3; ++i)
        polygon[i] = in[i];
    for (const auto& plane : planes_) {
        int kept = 0;
        for (int i = 0; i < count; ++i) {
            const cameraVertexS& p = polygon[i];
            const cameraVertexS& q = polygon[(i + 1) % count];
            const float dp = distance(plane, p), dq = distance(plane, q);
            if (dp >= 0)
                next[kept++] = p;
            if ((dp >= 0) != (dq >= 0))
                next[kept++] = between(p, q, dp / (dp - dq));
        }
        count = kept;
        std::swap(polygon, next);
        if (count < 3)
            return 0;
    }
    for (int i = 0; i < count; ++i)
        out[i] = project(polygon[i]);
    return count;
}

bool clipperC::clipSegment(const cameraVertexS& a, const cameraVertexS& b, screenVertexS out[2]) const {
    float t0 = 0, t1 = 1;
    for (const auto& plane : planes_) {
        const float da = distance(plane, a), db = distance(plane, b);
        if (da < 0 && db < 0)
            return false;
        if (da < 0)
            t0 = std::max(t0, da / (da - db));
        else if (db < 0)
            t1 = std::min(t1, da / (da - db));
    }
    if (t0 > t1)
        return false;
    out[0] = project(between(a, b, t0));
    out[1] = project(between(a, b, t1));
    return true;
}

}  // namespace render
