#include "u3d/scene.h"

#include <algorithm>

namespace u3d {

matrix4d matrix4d::operator*(const matrix4d& rhs) const {
    matrix4d out;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += m[r + 4 * k] * rhs.m[k + 4 * c];
            out.m[r + 4 * c] = sum;
        }
    return out;
}

std::array<double, 3> matrix4d::transformPoint(double x, double y, double z) const {
    return {m[0] * x + m[4] * y + m[8] * z + m[12],
            m[1] * x + m[5] * y + m[9] * z + m[13],
            m[2] * x + m[6] * y + m[10] * z + m[14]};
}

void boxS::add(double x, double y, double z) {
    const double p[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
        min[i] = empty ? p[i] : std::min(min[i], p[i]);
        max[i] = empty ? p[i] : std::max(max[i], p[i]);
    }
    empty = false;
}

void boxS::add(const boxS& other) {
    if (other.empty)
        return;
    add(other.min[0], other.min[1], other.min[2]);
    add(other.max[0], other.max[1], other.max[2]);
}

boxS boxS::transformed(const matrix4d& transform) const {
    boxS out;
    if (empty)
        return out;
    for (int corner = 0; corner < 8; ++corner) {
        const auto p = transform.transformPoint(corner & 1 ? max[0] : min[0], corner & 2 ? max[1] : min[1],
                                                corner & 4 ? max[2] : min[2]);
        out.add(p[0], p[1], p[2]);
    }
    return out;
}

boxS geometryS::bounds() const {
    boxS box;
    for (uint32_t index : positionIndices)
        if (index < positions.size()) {
            const vec3f& p = positions[index];
            box.add(p.x, p.y, p.z);
        }
    return box;
}

namespace {

template <typename T>
const T* findByName(const std::vector<T>& items, const std::string& name) {
    for (const T& item : items)
        if (item.name == name)
            return &item;
    return nullptr;
}

}  // namespace

const nodeS* sceneS::findNode(const std::string& name) const { return findByName(nodes, name); }
const geometryS* sceneS::findGeometry(const std::string& name) const { return findByName(geometries, name); }
const shaderS* sceneS::findShader(const std::string& name) const { return findByName(shaders, name); }
const materialS* sceneS::findMaterial(const std::string& name) const { return findByName(materials, name); }

}  // namespace u3d
