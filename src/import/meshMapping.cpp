#include "import/meshMapping.h"

#include "import/faceNormals.h"
#include "import/importError.h"
#include "import/joinIdentical.h"

#include <cmath>
#include <numeric>

namespace meshimport {

namespace {

// After sorting by type a mesh holds one kind of primitive; triangulation
// adds a flag beside the type that says how polygons were split.
u3d::geometryKindE kindOf(const aiMesh& mesh) {
    const unsigned type = mesh.mPrimitiveTypes & ~unsigned(aiPrimitiveType_NGONEncodingFlag);
    if (mesh.mNumFaces == 0 || type == aiPrimitiveType_POINT)
        return u3d::geometryKindE::pointSet;
    if (type == aiPrimitiveType_LINE)
        return u3d::geometryKindE::lineSet;
    return u3d::geometryKindE::mesh;
}

// The vertex of each corner, primitive by primitive. `inOrder` tells
// whether corner c uses vertex c throughout, as in a triangle soup.
std::vector<uint32_t> cornerVertices(const aiMesh& mesh, u3d::geometryKindE kind, const std::string& name,
                                     bool& inOrder) {
    std::vector<uint32_t> corners;
    inOrder = true;
    if (mesh.mNumFaces == 0) {
        corners.resize(mesh.mNumVertices);
        std::iota(corners.begin(), corners.end(), 0u);
        return corners;
    }
    const std::size_t perPrimitive = u3d::cornersPerPrimitive(kind);
    corners.resize(std::size_t(mesh.mNumFaces) * perPrimitive);
    uint32_t* out = corners.data();
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices != perPrimitive)
            throw importError("mesh \"" + name + "\" mixes primitives: face " + std::to_string(f) + " has " +
                              std::to_string(face.mNumIndices) + " corners");
        for (unsigned k = 0; k < perPrimitive; ++k, ++out) {
            *out = face.mIndices[k];
            inOrder &= *out == uint32_t(out - corners.data());
        }
    }
    inOrder &= corners.size() == mesh.mNumVertices;
    return corners;
}

template <typename T>
bool allFinite(const T* values, std::size_t count) {
    constexpr std::size_t kFloats = sizeof(T) / sizeof(float);
    const float* f = reinterpret_cast<const float*>(values);
    for (std::size_t i = 0; i < count * kFloats; ++i)
        if (!std::isfinite(f[i]))
            return false;
    return true;
}

// Joins one per-vertex attribute and indexes it per corner.
template <typename Out, typename In>
void indexAttribute(const In* values, std::size_t count, const std::vector<uint32_t>& corners, bool inOrder,
                    std::vector<Out>& distinct, std::vector<uint32_t>& indices) {
    std::vector<uint32_t> indexOf = joinIdentical(values, count, distinct);
    if (inOrder) {
        indices = std::move(indexOf);
        return;
    }
    indices.resize(corners.size());
    for (std::size_t c = 0; c < corners.size(); ++c)
        indices[c] = indexOf[corners[c]];
}

}  // namespace

u3d::geometryS mapMesh(const aiMesh& mesh, const std::string& name) {
    u3d::geometryS geometry;
    geometry.name = name;
    geometry.kind = kindOf(mesh);
    bool inOrder = false;
    const std::vector<uint32_t> corners = cornerVertices(mesh, geometry.kind, name, inOrder);
    const std::size_t count = mesh.mNumVertices;

    indexAttribute(mesh.mVertices, count, corners, inOrder, geometry.positions, geometry.positionIndices);
    // The loader's check dropped unusable normals; they are made anew here.
    if (mesh.mNormals)
        indexAttribute(mesh.mNormals, count, corners, inOrder, geometry.normals, geometry.normalIndices);
    else if (geometry.kind == u3d::geometryKindE::mesh)
        addFaceNormals(geometry);
    if (mesh.mColors[0]) {
        if (!allFinite(mesh.mColors[0], count))
            throw importError("mesh \"" + name + "\" has NaN or infinite vertex colours");
        indexAttribute(mesh.mColors[0], count, corners, inOrder, geometry.diffuseColors, geometry.diffuseIndices);
    }
    return geometry;
}

bool drawsSomething(const u3d::geometryS& geometry) {
    if (geometry.kind != u3d::geometryKindE::mesh)
        return !geometry.positionIndices.empty();
    const std::vector<uint32_t>& index = geometry.positionIndices;
    for (std::size_t t = 0; t + 2 < index.size(); t += 3) {
        const u3d::vec3f& a = geometry.positions[index[t]];
        const u3d::vec3f& b = geometry.positions[index[t + 1]];
        const u3d::vec3f& c = geometry.positions[index[t + 2]];
        // In double: the edges of float corners are exact there, so only
        // corners truly in line (or equal) make a triangle without area.
        const double e1[3] = {double(b.x) - a.x, double(b.y) - a.y, double(b.z) - a.z};
        const double e2[3] = {double(c.x) - a.x, double(c.y) - a.y, double(c.z) - a.z};
        if (e1[1] * e2[2] - e1[2] * e2[1] != 0 || e1[2] * e2[0] - e1[0] * e2[2] != 0 ||
            e1[0] * e2[1] - e1[1] * e2[0] != 0)
            return true;
    }
    return false;
}

}  // namespace meshimport
