#include "translator/defaultCamera.h"

#include "translator/matrixC4d.h"

#include <cmath>

double boxDiagonal(const vectorC3d& boxMin, const vectorC3d& boxMax) {
    const double dx = boxMax.x - boxMin.x;
    const double dy = boxMax.y - boxMin.y;
    const double dz = boxMax.z - boxMin.z;
    return std::sqrt((dx * dx + dy * dy) + dz * dz);
}

defaultCameraS defaultCamera(double diagonal) {
    defaultCameraS camera;
    camera.distance = std::fabs(diagonal * kCameraDistanceFactor);

    matrixC4d rotation;
    rotation.setRotation(kCameraAngleA, kCameraAngleB, kCameraAngleC);
    const matrixC4d view = rotation.rigidInverse();
    // The camera stands on its own -z axis, looking along +z at the origin.
    const vectorC3d position = view.transformPoint({0, 0, camera.distance * -1});

    const int axes[9] = {0, 1, 2, 4, 5, 6, 8, 9, 10};
    for (int i = 0; i < 9; ++i)
        camera.cameraToWorld[i] = view[axes[i]];
    camera.cameraToWorld[9] = position.x;
    camera.cameraToWorld[10] = position.y;
    camera.cameraToWorld[11] = position.z;
    return camera;
}

vectorC3d boxCentre(const vectorC3d& boxMin, const vectorC3d& boxMax) {
    return {(boxMin.x + boxMax.x) / 2, (boxMin.y + boxMax.y) / 2, (boxMin.z + boxMax.z) / 2};
}

defaultCameraS aimedAt(defaultCameraS camera, const vectorC3d& target) {
    camera.cameraToWorld[9] += target.x;
    camera.cameraToWorld[10] += target.y;
    camera.cameraToWorld[11] += target.z;
    return camera;
}
