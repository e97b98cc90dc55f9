// 4 x 4 transform in column-major order: the element of row r and column c
// is at index r + 4c. Columns 0 to 2 are the images of the axes, indices 12
// to 14 the translation, index 15 the homogeneous 1.
#pragma once

#include "translator/vectorC3d.h"

class matrixC4d {
public:
    static constexpr int kCount = 16;

    // Starts as the identity.
    matrixC4d() { setIdentity(); }

    void setIdentity();
    // The rotation of the three angles (degrees) applied in the order the
    // viewer's default camera expects; the translation stays as it is.
    void setRotation(double aDegrees, double bDegrees, double cDegrees);
    // The inverse of a rotation plus translation: the rotation block
    // transposed and the translation carried back through it.
    matrixC4d rigidInverse() const;
    // The point (x, y, z, 1) transformed; the fourth row is not computed.
    vectorC3d transformPoint(const vectorC3d& p) const;

    double operator[](int index) const { return m_[index]; }
    double& operator[](int index) { return m_[index]; }

private:
    double m_[kCount];
};
