// The camera-to-world record of a 3D view.
#pragma once

// 12 doubles in the order of the view's C2W array: the camera's x, y and z
// axes in world coordinates (three values each), then its position.
struct Pdf3dCameraMatrix {
    static constexpr int kCount = 12;

    double& operator[](int index) { return values[index]; }
    double operator[](int index) const { return values[index]; }

    double values[kCount] = {};
};
