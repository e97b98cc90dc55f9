#include "import/faceNormals.h"

#include "import/joinIdentical.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace meshimport {

namespace {

struct vec3d {
    double x = 0, y = 0, z = 0;

    vec3d operator-(const vec3d& o) const { return {x - o.x, y - o.y, z - o.z}; }
    vec3d& operator+=(const vec3d& o) {
        x += o.x, y += o.y, z += o.z;
        return *this;
    }
    double dot(const vec3d& o) const { return x * o.x + y * o.y + z * o.z; }
    vec3d cross(const vec3d& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    double length() const { return std::sqrt(dot(*this)); }
    vec3d scaled(double s) const { return {x * s, y * s, z * s}; }
};

vec3d widen(const u3d::vec3f& p) { return {p.x, p.y, p.z}; }

// For every position, the faces that use it: one list in position order
// (no allocation per position).
struct facesAroundS {
    std::vector<uint32_t> start;  // position p's faces are faces[start[p] .. start[p + 1])
    std::vector<uint32_t> faces;

    facesAroundS(const std::vector<uint32_t>& corners, std::size_t positions) : start(positions + 1, 0) {
        for (uint32_t p : corners)
            ++start[p + 1];
        for (std::size_t p = 0; p < positions; ++p)
            start[p + 1] += start[p];
        faces.resize(corners.size());
        std::vector<uint32_t> next(start.begin(), start.end() - 1);
        for (std::size_t c = 0; c < corners.size(); ++c)
            faces[next[corners[c]]++] = uint32_t(c / 3);
    }
};

}  // namespace

void addFaceNormals(u3d::geometryS& geometry) {
    const std::vector<uint32_t>& corners = geometry.positionIndices;
    const std::size_t faceCount = corners.size() / 3;

    // Each face's normal scaled by its area (twice it, which is all the
    // same for a mean), and its direction alone for the crease test.
    std::vector<vec3d> weighted(faceCount);
    std::vector<vec3d> direction(faceCount);
    for (std::size_t f = 0; f < faceCount; ++f) {
        const vec3d a = widen(geometry.positions[corners[3 * f]]);
        const vec3d n = (widen(geometry.positions[corners[3 * f + 1]]) - a)
                            .cross(widen(geometry.positions[corners[3 * f + 2]]) - a);
        const double length = n.length();
        weighted[f] = n;
        direction[f] = length > 0 ? n.scaled(1 / length) : vec3d{};
    }

    const facesAroundS around(corners, geometry.positions.size());
    const double minCosine = std::cos(kCreaseDegrees * 3.14159265358979323846 / 180);
    std::vector<u3d::vec3f> perCorner(corners.size());
    for (std::size_t c = 0; c < corners.size(); ++c) {
        const vec3d& own = direction[c / 3];
        // A face without area has no direction: its corners take every
        // face around them.
        const bool anyAngle = own.x == 0 && own.y == 0 && own.z == 0;
        vec3d sum;
        for (uint32_t i = around.start[corners[c]]; i < around.start[corners[c] + 1]; ++i) {
            const uint32_t f = around.faces[i];
            if (anyAngle || own.dot(direction[f]) >= minCosine)
                sum += weighted[f];
        }
        const double length = sum.length();
        // Nothing around it has an area: any unit normal will do.
        const vec3d n = length > 0 && std::isfinite(length) ? sum.scaled(1 / length) : vec3d{0, 0, 1};
        perCorner[c] = {float(n.x), float(n.y), float(n.z)};
    }
    geometry.normalIndices = joinIdentical(perCorner.data(), perCorner.size(), geometry.normals);
}

}  // namespace meshimport
