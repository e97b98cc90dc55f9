#include "testScenes.h"

#include <cmath>

namespace u3dtest {

using namespace u3d;

matrix4d translation(double x, double y, double z) {
    matrix4d t;
    t.m[12] = x;
    t.m[13] = y;
    t.m[14] = z;
    return t;
}

nodeS groupNode(const std::string& name, std::vector<parentS> parents) {
    nodeS n;
    n.kind = nodeKindE::group;
    n.name = name;
    n.parents = std::move(parents);
    return n;
}

nodeS modelNode(const std::string& name, std::vector<parentS> parents, const std::string& geometry,
                std::vector<std::string> shaders) {
    nodeS n = groupNode(name, std::move(parents));
    n.kind = nodeKindE::model;
    n.resource = geometry;
    n.shaders = std::move(shaders);
    return n;
}

void addShader(sceneS& scene, const std::string& name, color4f diffuse) {
    materialS m;
    m.name = name;
    m.diffuse = diffuse;
    scene.materials.push_back(m);
    scene.shaders.push_back({name, name});
}

namespace {

geometryS named(const std::string& name, geometryKindE kind) {
    geometryS g;
    g.name = name;
    g.kind = kind;
    return g;
}

}  // namespace

geometryS gridMesh(const std::string& name, unsigned n, bool colors, bool twoShadings) {
    geometryS g = named(name, geometryKindE::mesh);
    const auto at = [n](unsigned i, unsigned j) { return uint32_t(j * (n + 1) + i); };
    for (unsigned j = 0; j <= n; ++j)
        for (unsigned i = 0; i <= n; ++i) {
            // Heights with every mantissa bit in use: F32 must come back as is.
            const float h = std::sin(0.37f * float(i)) * std::cos(0.21f * float(j)) / 3.0f;
            g.positions.push_back({float(i) * 1.1f, float(j) * 0.9f, h});
            const float len = std::sqrt(1 + h * h);
            g.normals.push_back({-h / len, 0.25f / len, 1 / len});
            if (colors)
                g.diffuseColors.push_back({float(i) / float(n), float(j) / float(n), 0.5f, 1 - float(i) / float(2 * n)});
        }
    for (unsigned j = 0; j < n; ++j)
        for (unsigned i = 0; i < n; ++i) {
            for (uint32_t k : {at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j), at(i + 1, j + 1), at(i, j + 1)})
                g.positionIndices.push_back(k);
            if (twoShadings)
                g.shadingIds.insert(g.shadingIds.end(), 2, (i + j) % 2);
        }
    g.normalIndices = g.positionIndices;
    if (colors)
        g.diffuseIndices = g.positionIndices;
    return g;
}

geometryS soupOf(const geometryS& indexed) {
    geometryS g = indexed;
    g.positions.clear();
    g.normals.clear();
    g.diffuseColors.clear();
    for (std::size_t k = 0; k < indexed.positionIndices.size(); ++k) {
        g.positions.push_back(indexed.positions[indexed.positionIndices[k]]);
        g.normals.push_back(indexed.normals[indexed.normalIndices[k]]);
        if (!indexed.diffuseIndices.empty())
            g.diffuseColors.push_back(indexed.diffuseColors[indexed.diffuseIndices[k]]);
        g.positionIndices[k] = g.normalIndices[k] = uint32_t(k);
        if (!indexed.diffuseIndices.empty())
            g.diffuseIndices[k] = uint32_t(k);
    }
    return g;
}


geometryS polyline(const std::string& name, unsigned points, bool colors) {
    geometryS g = named(name, geometryKindE::lineSet);
    for (unsigned i = 0; i < points; ++i) {
        // Multiples of 1/64: few enough significant bits to come back exactly.
        const double a = 6.283185307179586 * i / points;
        g.positions.push_back({float(std::round(64 * 20 * std::cos(a)) / 64), float(std::round(64 * 20 * std::sin(a)) / 64),
                               float(i % 7) / 4});
        if (colors)
            g.diffuseColors.push_back({float(i % 5) / 4, 0.25f, float(i % 3) / 2, 1});
        g.positionIndices.push_back(i);
        g.positionIndices.push_back((i + 1) % points);
    }
    if (colors)
        g.diffuseIndices = g.positionIndices;
    return g;
}

geometryS pointCloud(const std::string& name, unsigned count, bool colors) {
    geometryS g = named(name, geometryKindE::pointSet);
    for (unsigned i = 0; i < count; ++i) {
        const float t = float(i) / 16;
        g.positions.push_back({float(std::round(256 * t * std::cos(t)) / 256), float(std::round(256 * t * std::sin(t)) / 256),
                               float(i) / 8 - 3});
        if (colors)
            g.diffuseColors.push_back({float(i % 256) / 255, float((i * 7) % 256) / 255, 1, 1});
        g.positionIndices.push_back(i);
    }
    if (colors)
        g.diffuseIndices = g.positionIndices;
    return g;
}

sceneS sceneOf(geometryS geometry) {
    sceneS scene;
    addShader(scene, "red", {1, 0, 0, 1});
    scene.nodes.push_back(modelNode("model", {{"", matrix4d()}}, geometry.name, {"red"}));
    scene.geometries.push_back(std::move(geometry));
    return scene;
}

}  // namespace u3dtest
