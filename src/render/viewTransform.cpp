#include "render/viewTransform.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace render {

namespace {

// Far enough out that clipping at the guard is rare, near enough that a
// clipped vertex, in 1/256 pixel (below 2^27), keeps the rasteriser's edge
// functions, products of two such coordinates, well inside 64 bits.
constexpr double kGuardPixels = 32.0 * kMaxImageSide;

}  // namespace

std::optional<viewS> makeView(const cameraS& camera, int width, int height) {
    const auto& c = camera.cameraToWorld;
    for (double value : c)
        if (!std::isfinite(value))
            return std::nullopt;
    if (!std::isfinite(camera.centreOfOrbit) || camera.centreOfOrbit < 0)
        return std::nullopt;

    // Camera coordinates are row vectors: world = camera * A + t, where the
    // rows of A are the camera's axes in the world (the C2W order). Hence
    // camera = (world - t) * inverse(A).
    const double a[3][3] = {{c[0], c[1], c[2]}, {c[3], c[4], c[5]}, {c[6], c[7], c[8]}};
    const double det = a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
                       a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                       a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    // Axes that are (nearly) dependent leave no picture to draw.
    double scale = 0;
    for (const auto& row : a)
        scale = std::max(scale, std::sqrt(row[0] * row[0] + row[1] * row[1] + row[2] * row[2]));
    if (!(std::fabs(det) > 1e-12 * scale * scale * scale))
        return std::nullopt;

    double inv[3][3];
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 3; ++k) {
            const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, k1 = (k + 1) % 3, k2 = (k + 2) % 3;
            inv[k][r] = (a[r1][k1] * a[r2][k2] - a[r1][k2] * a[r2][k1]) / det;
        }

    // As a column-major transform applied to column vectors: camera_j =
    // sum_i (world_i - t_i) * inv[i][j].
    viewS view;
    auto& m = view.worldToCamera.m;
    for (int j = 0; j < 3; ++j) {
        double translation = 0;
        for (int i = 0; i < 3; ++i) {
            m[j + 4 * i] = inv[i][j];
            translation -= c[9 + i] * inv[i][j];
        }
        m[j + 12] = translation;
    }
    m[3] = m[7] = m[11] = 0;
    m[15] = 1;

    view.centreX = width / 2.0;
    view.centreY = height / 2.0;
    view.focal = width / 2.0;  // tan(90 / 2) = 1
    view.guard = kGuardPixels / view.focal;
    return view;
}

affine3f affine3f::from(const u3d::matrix4d& transform) {
    // Saturated rather than converted out of range; what overflows then
    // places its vertices outside every clipping plane.
    constexpr double kLargest = std::numeric_limits<float>::max();
    affine3f out;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            const double v = transform.m[r + 4 * c];
            out.m[r][c] = static_cast<float>(std::isnan(v) ? v : std::clamp(v, -kLargest, kLargest));
        }
    return out;
}

float affine3f::determinant() const {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

affine3f affine3f::normalTransform() const {
    // The cofactor matrix is the inverse transpose times the determinant;
    // with the determinant's sign taken out, normals keep their side.
    affine3f out;
    const float sign = determinant() < 0 ? -1.0f : 1.0f;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
            out.m[r][c] = sign * (m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1]);
        }
    return out;
}

}  // namespace render
