// Scenes, cameras and image checks for the poster tests. The projection
// here is the tests' own, written from the camera conventions of a 3D view
// and not shared with the renderer.
#pragma once

#include "render/poster.h"

#include <array>
#include <string>
#include <vector>

namespace postertest {

using vec3 = std::array<double, 3>;

// A cube mesh from lo to hi, two triangles a side, wound outwards.
u3d::geometryS cube(const std::string& name, vec3 lo, vec3 hi);
// A square from (-size, -size) to (size, size) in the plane z = 0, two
// triangles wound so that the camera of frontCamera sees their fronts.
u3d::geometryS square(const std::string& name, double size = 1);
// A camera on the world's -z axis, distance away, looking along +z, with
// world x to the left (a right-handed frame seen along +z) and world y up
// on the image.
render::cameraS frontCamera(double distance = 2);

// A model node under the world with that transform (identity by default)
// and one shader per entry of shaders.
u3d::nodeS model(const std::string& name, const std::string& geometry, std::vector<std::string> shaders = {},
                 const u3d::matrix4d& transform = {});
// Adds a shader and the material it names, of that diffuse colour.
void addMaterial(u3d::sceneS& scene, const std::string& shader, u3d::color4f diffuse, float opacity = 1);

// The module's default view of a box of this diagonal: the camera looks at
// the origin from (1, 1, 1)-ish, 1.8 diagonals away.
render::cameraS defaultCamera(double diagonal);
// A camera at position looking along +z of the world... or any axes given.
render::cameraS camera(vec3 x, vec3 y, vec3 z, vec3 position);

// Where a world point lands on a width x height poster, in pixels (x to
// the right, y down), by the view's rules: camera coordinates from the C2W
// axes, perspective with a 90-degree field of view across the width.
std::array<double, 2> project(const render::cameraS& camera, vec3 world, int width, int height);

struct rgb8 {
    int r = 0, g = 0, b = 0;
};
rgb8 pixel(const render::imageS& image, int x, int y);
bool isBackground(rgb8 p, const render::rgbS& background);

// The convex hull of points (counter-clockwise) and the signed distance of
// a point from its boundary: positive inside.
std::vector<std::array<double, 2>> convexHull(std::vector<std::array<double, 2>> points);
double insideBy(const std::vector<std::array<double, 2>>& hull, double x, double y);

// Writes the image as a binary PPM into the working directory (the build
// folder under ctest), for a person to look at.
void savePpm(const render::imageS& image, const std::string& name);

}  // namespace postertest
