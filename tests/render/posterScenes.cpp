#include "posterScenes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace postertest {

u3d::geometryS cube(const std::string& name, vec3 lo, vec3 hi) {
    u3d::geometryS g;
    g.kind = u3d::geometryKindE::mesh;
    g.name = name;
    for (int i = 0; i < 8; ++i)
        g.positions.push_back({float(i & 1 ? hi[0] : lo[0]), float(i & 2 ? hi[1] : lo[1]), float(i & 4 ? hi[2] : lo[2])});
    // Corners by bit: x = 1, y = 2, z = 4; each side counter-clockwise
    // seen from outside, cut along its q1-q3 diagonal.
    const uint32_t quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& q : quads)
        for (uint32_t index : {q[0], q[1], q[3], q[1], q[2], q[3]})
            g.positionIndices.push_back(index);
    return g;
}

u3d::geometryS square(const std::string& name, double size) {
    u3d::geometryS g;
    g.name = name;
    const float s = float(size);
    g.positions = {{-s, -s, 0}, {s, -s, 0}, {s, s, 0}, {-s, s, 0}};
    // Seen from -z: counter-clockwise is 0, 3, 2 then 0, 2, 1.
    g.positionIndices = {0, 3, 2, 0, 2, 1};
    return g;
}

render::cameraS frontCamera(double distance) { return camera({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, -distance}); }

u3d::nodeS model(const std::string& name, const std::string& geometry, std::vector<std::string> shaders,
                 const u3d::matrix4d& transform) {
    u3d::nodeS n;
    n.kind = u3d::nodeKindE::model;
    n.name = name;
    n.parents.push_back({"", transform});
    n.resource = geometry;
    n.shaders = std::move(shaders);
    return n;
}

void addMaterial(u3d::sceneS& scene, const std::string& shader, u3d::color4f diffuse, float opacity) {
    u3d::materialS m;
    m.name = shader + "-material";
    m.diffuse = diffuse;
    m.ambient = diffuse;
    m.opacity = opacity;
    scene.materials.push_back(m);
    scene.shaders.push_back({shader, m.name});
}

render::cameraS camera(vec3 x, vec3 y, vec3 z, vec3 position) {
    render::cameraS c;
    c.cameraToWorld = {x[0], x[1], x[2], y[0], y[1], y[2], z[0], z[1], z[2], position[0], position[1], position[2]};
    const double d = std::sqrt(position[0] * position[0] + position[1] * position[1] + position[2] * position[2]);
    c.centreOfOrbit = d;
    return c;
}

render::cameraS defaultCamera(double diagonal) {
    const double d = 1.8 * diagonal;
    return camera({-0.707107, 0, 0.707107}, {-0.353553, 0.866025, -0.353553}, {-0.612372, -0.5, -0.612372},
                  {d * 0.612372, d * 0.5, d * 0.612372});
}

std::array<double, 2> project(const render::cameraS& camera, vec3 world, int width, int height) {
    const auto& c = camera.cameraToWorld;
    const vec3 relative = {world[0] - c[9], world[1] - c[10], world[2] - c[11]};
    // The axes are orthonormal in every camera of these tests.
    double local[3];
    for (int axis = 0; axis < 3; ++axis)
        local[axis] = relative[0] * c[3 * axis] + relative[1] * c[3 * axis + 1] + relative[2] * c[3 * axis + 2];
    const double half = width / 2.0;
    // Camera +x is the image's left: the frame is right-handed with +z along
    // the view and +y up, and viewers show it unmirrored.
    return {half - half * local[0] / local[2], height / 2.0 - half * local[1] / local[2]};
}

rgb8 pixel(const render::imageS& image, int x, int y) {
    const std::size_t at = (std::size_t(y) * std::size_t(image.width) + std::size_t(x)) * 3;
    return {image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]};
}

bool isBackground(rgb8 p, const render::rgbS& background) {
    auto near = [](int v, double c) { return std::abs(v - int(std::lround(c * 255))) <= 1; };
    return near(p.r, background.r) && near(p.g, background.g) && near(p.b, background.b);
}

std::vector<std::array<double, 2>> convexHull(std::vector<std::array<double, 2>> points) {
    std::sort(points.begin(), points.end());
    auto cross = [](const std::array<double, 2>& o, const std::array<double, 2>& a, const std::array<double, 2>& b) {
        return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0]);
    };
    std::vector<std::array<double, 2>> hull;
    for (int pass = 0; pass < 2; ++pass) {
        const std::size_t start = hull.size();
        for (const auto& p : points) {
            while (hull.size() >= start + 2 && cross(hull[hull.size() - 2], hull.back(), p) <= 0)
                hull.pop_back();
            hull.push_back(p);
        }
        hull.pop_back();
        std::reverse(points.begin(), points.end());
    }
    return hull;
}

double insideBy(const std::vector<std::array<double, 2>>& hull, double x, double y) {
    double nearest = std::numeric_limits<double>::max();
    bool inside = true;
    for (std::size_t i = 0; i < hull.size(); ++i) {
        const auto& a = hull[i];
        const auto& b = hull[(i + 1) % hull.size()];
        const double ex = b[0] - a[0], ey = b[1] - a[1], length = std::hypot(ex, ey);
        const double side = (ex * (y - a[1]) - ey * (x - a[0])) / length;
        inside = inside && side >= 0;
        // Distance to the segment, not the line, so that corners count.
        const double t = std::clamp(((x - a[0]) * ex + (y - a[1]) * ey) / (length * length), 0.0, 1.0);
        nearest = std::min(nearest, std::hypot(x - a[0] - t * ex, y - a[1] - t * ey));
    }
    return inside ? nearest : -nearest;
}

void savePpm(const render::imageS& image, const std::string& name) {
    if (FILE* f = std::fopen((name + ".ppm").c_str(), "wb")) {
        std::fprintf(f, "P6\n%d %d\n255\n", image.width, image.height);
        std::fwrite(image.rgb.data(), 1, image.rgb.size(), f);
        std::fclose(f);
    }
}

}  // namespace postertest
