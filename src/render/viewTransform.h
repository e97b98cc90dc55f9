// From world coordinates to the camera and from the camera to the image.
#pragma once

#include "render/poster.h"

#include <optional>

namespace render {

// The camera space of a 3D view (ISO 32000-1, 13.6.5, coordinate systems
// for 3D): the camera sits at the origin looking along +z, +y is up on the
// page and +x, the right-handed frame's third axis, to the left (see
// clipperC::project). Without a projection dictionary the view projects in
// perspective with a field of view of 90 degrees whose circle spans the
// width of the view box (13.6.4, projection dictionaries: FOV 90, PS W):
// x / z = +-1 falls on the left and right edges of the image.
struct viewS {
    u3d::matrix4d worldToCamera;
    double centreX = 0;  // the image point of the camera's axis, in pixels
    double centreY = 0;
    double focal = 0;    // pixels for one unit of x / z
    // Geometry is clipped this far out from the image on every side (as a
    // multiple of x / z and y / z), so that the rasteriser's fixed-point
    // coordinates stay small.
    double guard = 0;
};

// The view for an image of width x height pixels, or nothing when the
// camera's axes cannot be inverted or a number is not finite.
std::optional<viewS> makeView(const cameraS& camera, int width, int height);

// A 3 x 4 affine transform in single precision for the per-vertex work,
// rows applied to (x, y, z, 1).
struct affine3f {
    float m[3][4] = {};

    static affine3f from(const u3d::matrix4d& transform);
    void apply(float x, float y, float z, float out[3]) const {
        out[0] = m[0][0] * x + m[0][1] * y + m[0][2] * z + m[0][3];
        out[1] = m[1][0] * x + m[1][1] * y + m[1][2] * z + m[1][3];
        out[2] = m[2][0] * x + m[2][1] * y + m[2][2] * z + m[2][3];
    }
    // The linear part alone, for directions.
    void applyLinear(float x, float y, float z, float out[3]) const {
        out[0] = m[0][0] * x + m[0][1] * y + m[0][2] * z;
        out[1] = m[1][0] * x + m[1][1] * y + m[1][2] * z;
        out[2] = m[2][0] * x + m[2][1] * y + m[2][2] * z;
    }
    // The transform that carries normals along with this one (the inverse
    // transpose of the linear part, scaled freely: callers normalise), and
    // the sign of the linear part's determinant, which tells whether the
    // transform mirrors.
    affine3f normalTransform() const;
    float determinant() const;
};

}  // namespace render
