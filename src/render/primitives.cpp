#include "render/primitives.h"

#include <cmath>

namespace render {

placedVertexS placeVertex(const clipperC& clipper, const float camera[3]) {
    placedVertexS v{camera[0], camera[1], camera[2], clipper.outside(camera), 0, 0, 0};
    if (v.outside == 0) {
        const screenVertexS s = clipper.project({v.x, v.y, v.z, 0, 0, 0});
        v.screenX = s.x;
        v.screenY = s.y;
        v.w = s.w;
    }
    return v;
}

placedVertexS uncached(const clipperC& clipper, const cachedVertexS& v) {
    const cameraVertexS c = clipper.unproject({v.screenX, v.screenY, v.w, 0, 0, 0});
    return {c.x, c.y, c.z, v.outside, v.screenX, v.screenY, v.w};
}

bool faceNormal(const primitiveS<3>& t, float mirror, float n[3], bool& back) {
    const cameraVertexS &a = t.camera[0], &b = t.camera[1], &c = t.camera[2];
    const float u[3] = {b.x - a.x, b.y - a.y, b.z - a.z}, v[3] = {c.x - a.x, c.y - a.y, c.z - a.z};
    const float cross[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    const float length = std::sqrt(cross[0] * cross[0] + cross[1] * cross[1] + cross[2] * cross[2]);
    if (!(length > 0) || !std::isfinite(length))
        return false;
    // The camera is at the origin: a face shows its front when its normal
    // points back along the ray to it.
    const float along = cross[0] * a.x + cross[1] * a.y + cross[2] * a.z;
    back = mirror * along > 0;
    const float toCamera = (along > 0 ? -1.0f : 1.0f) / length;
    for (int i = 0; i < 3; ++i)
        n[i] = cross[i] * toCamera;
    return true;
}

void fillPrimitive(sampleBandC& band, const clipperC& clipper, const primitiveS<3>& t, const paintS& paint) {
    if (!t.clipped) {
        fillTriangle(band, t.screen[0], t.screen[1], t.screen[2], paint);
        return;
    }
    screenVertexS polygon[clipperC::kMaxPolygon];
    const int count = clipper.clipTriangle(t.camera, polygon);
    for (int i = 2; i < count; ++i)
        fillTriangle(band, polygon[0], polygon[i - 1], polygon[i], paint);
}

void fillSegment(sampleBandC& band, const screenVertexS& a, const screenVertexS& b, const paintS& paint) {
    const float dx = b.x - a.x, dy = b.y - a.y, length = std::sqrt(dx * dx + dy * dy);
    if (!(length > 1e-3f)) {
        fillDisc(band, a, kLineHalfWidth, paint);
        return;
    }
    // Along the line (u) and across it (v), half a width each.
    const float ux = dx / length * kLineHalfWidth, uy = dy / length * kLineHalfWidth, vx = -uy, vy = ux;
    screenVertexS q[4] = {a, a, b, b};
    q[0].x += -ux + vx, q[0].y += -uy + vy;
    q[1].x += -ux - vx, q[1].y += -uy - vy;
    q[2].x += ux - vx, q[2].y += uy - vy;
    q[3].x += ux + vx, q[3].y += uy + vy;
    fillTriangle(band, q[0], q[1], q[2], paint);
    fillTriangle(band, q[0], q[2], q[3], paint);
}

void fillSegment(sampleBandC& band, const clipperC& clipper, const cameraVertexS& a, const cameraVertexS& b,
                 const paintS& paint) {
    screenVertexS ends[2];
    if (clipper.clipSegment(a, b, ends))
        fillSegment(band, ends[0], ends[1], paint);
}

void fillDot(sampleBandC& band, const clipperC& clipper, const cameraVertexS& v, const paintS& paint) {
    const float xyz[3] = {v.x, v.y, v.z};
    if (clipper.outside(xyz) == 0)
        fillDisc(band, clipper.project(v), kDotRadius, paint);
}

}  // namespace render
