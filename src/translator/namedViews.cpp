#include "translator/namedViews.h"

#include <cmath>

namespace {

struct namedViewS {
    const char* name;
    vectorC3d along;  // the viewing direction, the camera's z axis
    vectorC3d up;     // the camera's y axis
};

// 1 / sqrt(3) and 1 / sqrt(6): the isometric view looks from the (+x, +y,
// +z) corner, its up the projection of +y.
const double kThird = 1 / std::sqrt(3.0);
const double kSixth = 1 / std::sqrt(6.0);

const namedViewS kViews[kNamedViewCount] = {
    {"Front", {0, 0, -1}, {0, 1, 0}},
    {"Back", {0, 0, 1}, {0, 1, 0}},
    {"Left", {1, 0, 0}, {0, 1, 0}},
    {"Right", {-1, 0, 0}, {0, 1, 0}},
    {"Top", {0, -1, 0}, {0, 0, -1}},
    {"Bottom", {0, 1, 0}, {0, 0, 1}},
    {"Isometric", {-kThird, -kThird, -kThird}, {-kSixth, 2 * kSixth, -kSixth}},
};

vectorC3d cross(const vectorC3d& a, const vectorC3d& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

}  // namespace

const char* namedViewName(namedViewE view) { return kViews[view].name; }

defaultCameraS namedViewCamera(namedViewE view, const vectorC3d& boxMin, const vectorC3d& boxMax) {
    const namedViewS& v = kViews[view];
    defaultCameraS camera;
    camera.distance = boxDiagonal(boxMin, boxMax) * kCameraDistanceFactor;
    // A 3D view's camera frame is right-handed with +z along the view and +y
    // up (ISO 32000-1, 13.6.5), so x = y x z: the axis a viewer shows
    // pointing to the left.
    const vectorC3d axes[3] = {cross(v.up, v.along), v.up, v.along};
    for (int axis = 0; axis < 3; ++axis) {
        camera.cameraToWorld[3 * axis] = axes[axis].x;
        camera.cameraToWorld[3 * axis + 1] = axes[axis].y;
        camera.cameraToWorld[3 * axis + 2] = axes[axis].z;
    }
    const vectorC3d centre = boxCentre(boxMin, boxMax);
    camera.cameraToWorld[9] = centre.x - v.along.x * camera.distance;
    camera.cameraToWorld[10] = centre.y - v.along.y * camera.distance;
    camera.cameraToWorld[11] = centre.z - v.along.z * camera.distance;
    return camera;
}
