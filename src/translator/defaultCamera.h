// The camera of a 3D annotation's default view, derived from the model's
// bounding box: it looks at the world origin from a fixed direction, at a
// distance proportional to the box's diagonal. Only the box's extent counts,
// not its position; hosts rely on that view, so aiming it at the box's
// centre is a separate step that a request asks for.
#pragma once

#include "pdf/3d/Pdf3dCameraMatrix.h"
#include "translator/vectorC3d.h"

struct defaultCameraS {
    Pdf3dCameraMatrix cameraToWorld;  // for the view's C2W
    double distance = 0;              // for the view's CO
};

// The fixed view direction as rotation angles in degrees, and how far the
// camera stands back in diagonals.
inline constexpr double kCameraAngleA = -30;
inline constexpr double kCameraAngleB = 135;
inline constexpr double kCameraAngleC = 0;
inline constexpr double kCameraDistanceFactor = 1.8;

// Length of the diagonal of the box between the two corners (in any order).
double boxDiagonal(const vectorC3d& boxMin, const vectorC3d& boxMax);
// The camera for a box of that diagonal length.
defaultCameraS defaultCamera(double diagonal);
// The middle of the box, (min + max) / 2 in each coordinate.
vectorC3d boxCentre(const vectorC3d& boxMin, const vectorC3d& boxMax);
// The camera moved by target, so that it orbits target instead of the
// origin: the same axes and the same distance to the centre of orbit.
defaultCameraS aimedAt(defaultCameraS camera, const vectorC3d& target);
