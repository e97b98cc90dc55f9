#include "translator/matrixC4d.h"

#include <cmath>
#include <utility>

namespace {

constexpr double kPi = 3.141592653589793;

double radians(double degrees) { return degrees * kPi / 180; }

}  // namespace

void matrixC4d::setIdentity() {
    for (int i = 0; i < kCount; ++i)
        m_[i] = (i % 5 == 0) ? 1.0 : 0.0;
}

void matrixC4d::setRotation(double aDegrees, double bDegrees, double cDegrees) {
    const double a = radians(aDegrees), b = radians(bDegrees), c = radians(cDegrees);
    const double ca = std::cos(a), sa = std::sin(a);
    const double cb = std::cos(b), sb = std::sin(b);
    const double cc = std::cos(c), sc = std::sin(c);
    // The grouping of each product is part of the result: the written
    // camera keeps five decimals, and signed zeros print as "-0".
    m_[0] = cc * cb;
    m_[1] = cc * (sb * sa) + (sc * ca);
    m_[2] = (sc * sa) - cc * (sb * ca);
    m_[4] = sc * (-cb);
    m_[5] = (cc * ca) - sc * (sb * sa);
    m_[6] = sc * (sb * ca) + (cc * sa);
    m_[8] = sb;
    m_[9] = cb * (-sa);
    m_[10] = cb * ca;
}

matrixC4d matrixC4d::rigidInverse() const {
    matrixC4d inverse = *this;
    std::swap(inverse.m_[1], inverse.m_[4]);
    std::swap(inverse.m_[2], inverse.m_[8]);
    std::swap(inverse.m_[6], inverse.m_[9]);
    inverse.m_[12] = inverse.m_[13] = inverse.m_[14] = 0;
    const vectorC3d back = inverse.transformPoint({m_[12], m_[13], m_[14]});
    inverse.m_[12] = -back.x;
    inverse.m_[13] = -back.y;
    inverse.m_[14] = -back.z;
    return inverse;
}

vectorC3d matrixC4d::transformPoint(const vectorC3d& p) const {
    const double in[4] = {p.x, p.y, p.z, 1.0};
    double out[3];
    for (int row = 0; row < 3; ++row) {
        double sum = 0;
        for (int k = 0; k < 4; ++k)
            sum += m_[row + 4 * k] * in[k];
        out[row] = sum;
    }
    return {out[0], out[1], out[2]};
}
