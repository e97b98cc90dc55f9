// What a U3D file describes, at full resolution: nodes with their parents
// and transforms, geometry resources, materials and shaders.
//
// One model for every direction data takes: the reader fills it from a
// file, the writer writes it, the importers build it from mesh files and the
// poster renderer draws it. Only what these need is kept; what the format
// carries beyond that (animation, textures, bones, subdivision) is read past
// and counted in the file summary, not modelled here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace u3d {

struct vec3f {
    float x = 0;
    float y = 0;
    float z = 0;
};

// Colours on the 0 to 1 scale; alpha 1 is opaque.
struct color4f {
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 1;
};

// A 4 x 4 transform as U3D stores it: column-major, so the element of row r
// and column c is at index r + 4c, and the translation is at 12, 13, 14.
// Kept in double: world transforms are products along parent paths.
struct matrix4d {
    std::array<double, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    static matrix4d identity() { return {}; }
    // this * rhs: rhs is applied first.
    matrix4d operator*(const matrix4d& rhs) const;
    // The point (x, y, z, 1) transformed; the projective row is ignored.
    std::array<double, 3> transformPoint(double x, double y, double z) const;
};

// An axis-aligned box; empty until the first point is added.
struct boxS {
    std::array<double, 3> min{0, 0, 0};
    std::array<double, 3> max{0, 0, 0};
    bool empty = true;

    void add(double x, double y, double z);
    void add(const boxS& other);
    // The box of the eight corners of this box after the transform.
    boxS transformed(const matrix4d& transform) const;
};

enum class geometryKindE : uint8_t { mesh, lineSet, pointSet };

// In an attribute index list: a corner whose primitive's shading has no
// such attribute (a mesh whose shadings differ in whether they carry
// diffuse colours).
inline constexpr uint32_t kNoIndex = 0xFFFFFFFF;

// Corners per primitive: 3 per face, 2 per line, 1 per point.
inline constexpr std::size_t cornersPerPrimitive(geometryKindE kind) {
    return kind == geometryKindE::mesh ? 3 : kind == geometryKindE::lineSet ? 2 : 1;
}

// One geometry resource (a CLOD mesh, a line set or a point set) with every
// resolution update applied. Attributes are indexed per corner, as the
// format does: corner k of primitive p uses positions[positionIndices[p *
// corners + k]], and likewise normals and diffuse colours when their index
// lists are not empty (each is then exactly as long as positionIndices).
struct geometryS {
    geometryKindE kind = geometryKindE::mesh;
    std::string name;

    std::vector<vec3f> positions;
    std::vector<uint32_t> positionIndices;

    std::vector<vec3f> normals;
    std::vector<uint32_t> normalIndices;

    std::vector<color4f> diffuseColors;
    std::vector<uint32_t> diffuseIndices;

    // The shading id of each primitive: which of the model's shader lists
    // (shaders of its node) draws it. Empty means 0 for every primitive.
    std::vector<uint32_t> shadingIds;

    // The shader of each shading id from a shading modifier in the
    // resource's own modifier chain (the first shader of each list): what
    // a model node without a shading modifier of its own draws with.
    std::vector<std::string> shaders;

    std::size_t primitiveCount() const { return positionIndices.size() / cornersPerPrimitive(kind); }
    // The box of the positions that primitives use, in resource space.
    boxS bounds() const;
};

// A material resource: the colours a lit texture shader lights with.
struct materialS {
    std::string name;
    color4f ambient{0.75f, 0.75f, 0.75f, 1};
    color4f diffuse{0, 0, 0, 1};
    color4f specular{0, 0, 0, 1};
    color4f emissive{0, 0, 0, 1};
    float reflectivity = 0;
    float opacity = 1;
};

// A lit texture shader resource; only its material matters here.
struct shaderS {
    std::string name;
    std::string material;
    // The shader's attribute that lights with the geometry's vertex colours
    // instead of the material's diffuse colour.
    bool useVertexColors = false;
};

enum class nodeKindE : uint8_t { group, model, light, view };

// One parent of a node and the node's transform relative to it. The world
// (the root every path ends in) is the parent with the empty name.
struct parentS {
    std::string name;
    matrix4d transform;
};

struct nodeS {
    nodeKindE kind = nodeKindE::group;
    std::string name;
    std::vector<parentS> parents;
    // Model nodes: the geometry they show (by name); lights and views:
    // their resource. Empty for groups.
    std::string resource;
    // Model nodes: the shader of each shading id, from the shading modifier
    // of the node's chain (the first shader of each list). Empty when the
    // node has no shading modifier.
    std::vector<std::string> shaders;
};

struct sceneS {
    std::vector<nodeS> nodes;
    std::vector<geometryS> geometries;
    std::vector<materialS> materials;
    std::vector<shaderS> shaders;
    // The header's units scale factor, when the file carries one. Boxes and
    // positions are in the file's own units: the factor is never applied.
    bool hasUnitsScale = false;
    double unitsScale = 1;

    const nodeS* findNode(const std::string& name) const;
    const geometryS* findGeometry(const std::string& name) const;
    const shaderS* findShader(const std::string& name) const;
    const materialS* findMaterial(const std::string& name) const;
};

// A model node as it stands in the world along one parent path: a node
// with several parents (or under a parent with several) stands once per
// path from it to the world.
struct modelInstanceS {
    std::size_t node = 0;  // index into sceneS::nodes
    matrix4d toWorld;      // resource space to world space
};

}  // namespace u3d
