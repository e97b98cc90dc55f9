#include "measuredBox.h"

#include <cmath>

modelBoxS requestBox(const u3d::boxS& box) {
    modelBoxS out{};
    for (int i = 0; i < 3; ++i) {
        out.min[i] = box.min[i];
        out.max[i] = box.max[i];
    }
    return out;
}

double boxDiagonal(const modelBoxS& box) {
    return std::hypot(box.max[0] - box.min[0], box.max[1] - box.min[1], box.max[2] - box.min[2]);
}
