#include "u3d/sceneCheck.h"

#include "u3d/sceneInstances.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace u3d {

namespace {

constexpr uint32_t kMaxShadingId = 0xFFFF;

[[noreturn]] void refuse(const std::string& fault) { throw sceneError(fault); }

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

bool finite(float v) { return std::isfinite(v); }
bool finite(const vec3f& v) { return finite(v.x) && finite(v.y) && finite(v.z); }
bool finite(const color4f& c) { return finite(c.r) && finite(c.g) && finite(c.b) && finite(c.a); }

template <typename T>
void checkFinite(const std::vector<T>& values, const std::string& owner, const char* what) {
    for (std::size_t i = 0; i < values.size(); ++i)
        if (!finite(values[i]))
            refuse(owner + ": " + what + " " + std::to_string(i) + " has a NaN or infinite value");
}

template <typename T>
void checkNames(const std::vector<T>& items, const char* kind, const char* kinds) {
    std::unordered_set<std::string> seen;
    for (const T& item : items) {
        if (item.name.empty())
            refuse(std::string("a ") + kind + " without a name");
        if (item.name.size() > 0xFFFF)
            refuse(std::string("a ") + kind + " name of " + std::to_string(item.name.size()) +
                   " bytes (a U3D name holds at most 65535)");
        if (!seen.insert(item.name).second)
            refuse(std::string("two ") + kinds + " are named " + quoted(item.name));
    }
}

// An attribute's index list: empty, or one index per corner, each below
// the attribute's value count.
void checkIndices(const std::vector<uint32_t>& indices, std::size_t corners, std::size_t values,
                  const std::string& owner, const char* what) {
    if (indices.empty())
        return;
    if (indices.size() != corners)
        refuse(owner + ": " + std::to_string(indices.size()) + " " + what + " indices for " +
               std::to_string(corners) + " corners");
    for (std::size_t k = 0; k < indices.size(); ++k)
        if (indices[k] >= values)
            refuse(owner + ": " + what + " index " + std::to_string(indices[k]) + " of corner " + std::to_string(k) +
                   " is out of range (" + std::to_string(values) + " " + what + "s)");
}

void checkGeometry(const geometryS& g) {
    const std::string owner = "geometry " + quoted(g.name);
    const std::size_t per = cornersPerPrimitive(g.kind);
    const std::size_t corners = g.positionIndices.size();
    for (std::size_t n : {corners, g.positions.size(), g.normals.size(), g.diffuseColors.size()})
        if (n > UINT32_MAX)
            refuse(owner + ": more than 4294967295 values in one list");
    if (corners % per != 0)
        refuse(owner + ": " + std::to_string(corners) + " corners are no whole number of " +
               (g.kind == geometryKindE::mesh ? "triangles" : "lines"));
    checkIndices(g.positionIndices, corners, g.positions.size(), owner, "position");
    checkIndices(g.normalIndices, corners, g.normals.size(), owner, "normal");
    checkIndices(g.diffuseIndices, corners, g.diffuseColors.size(), owner, "diffuse colour");
    if (!g.shadingIds.empty() && g.shadingIds.size() != g.primitiveCount())
        refuse(owner + ": " + std::to_string(g.shadingIds.size()) + " shading ids for " +
               std::to_string(g.primitiveCount()) + " primitives");
    for (uint32_t id : g.shadingIds)
        if (id > kMaxShadingId)
            refuse(owner + ": shading id " + std::to_string(id) + " (at most " + std::to_string(kMaxShadingId) + ")");
    checkFinite(g.positions, owner, "position");
    checkFinite(g.normals, owner, "normal");
    checkFinite(g.diffuseColors, owner, "diffuse colour");
}

void checkNode(const nodeS& node) {
    for (const parentS& parent : node.parents)
        for (double element : parent.transform.m)
            if (!finite(static_cast<float>(element)))
                refuse("node " + quoted(node.name) + ": a transform element that is NaN or infinite (or too large for F32)");
}

void checkMaterial(const materialS& m) {
    for (const color4f& c : {m.ambient, m.diffuse, m.specular, m.emissive})
        if (!finite(c))
            refuse("material " + quoted(m.name) + ": a colour with a NaN or infinite value");
    if (!finite(m.reflectivity) || !finite(m.opacity))
        refuse("material " + quoted(m.name) + ": a NaN or infinite reflectivity or opacity");
}

}  // namespace

void checkWritable(const sceneS& scene) {
    if (scene.hasUnitsScale && !(std::isfinite(scene.unitsScale) && scene.unitsScale > 0))
        refuse("a units scale that is not a positive finite number");
    checkNames(scene.nodes, "node", "nodes");
    checkNames(scene.geometries, "geometry", "geometries");
    checkNames(scene.shaders, "shader", "shaders");
    checkNames(scene.materials, "material", "materials");
    for (const geometryS& g : scene.geometries)
        checkGeometry(g);
    for (const nodeS& node : scene.nodes)
        checkNode(node);
    for (const materialS& m : scene.materials)
        checkMaterial(m);
    // Placing every model in the world finds parent cycles.
    modelInstances(scene);
}

}  // namespace u3d
