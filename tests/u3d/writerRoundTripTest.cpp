// What the writer writes, the reader reads back: node trees with their
// transforms, meshes bit for bit (positions, normals and colours are F32 in
// the base mesh), line and point sets in the order the format gives them,
// shaders and materials.
#include "testScenes.h"

#include "u3d/reader.h"
#include "u3d/writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>

namespace {

using namespace u3d;
using namespace u3dtest;

sceneS roundTrip(const sceneS& scene) { return readU3dMemory(writeU3dMemory(scene)).scene; }

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }
// Line and point positions are rebuilt from differences: -0 comes back as 0.
bool sameValue(const vec3f& a, const vec3f& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
bool sameBits(const vec3f& a, const vec3f& b) { return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z); }
bool sameBits(const color4f& a, const color4f& b) {
    return sameBits(a.r, b.r) && sameBits(a.g, b.g) && sameBits(a.b, b.b) && sameBits(a.a, b.a);
}

template <typename T>
::testing::AssertionResult sameValues(const std::vector<T>& got, const std::vector<T>& want, const char* what) {
    if (got.size() != want.size())
        return ::testing::AssertionFailure() << what << ": " << got.size() << " values, want " << want.size();
    for (std::size_t i = 0; i < got.size(); ++i)
        if (!sameBits(got[i], want[i]))
            return ::testing::AssertionFailure() << what << " " << i << " differs";
    return ::testing::AssertionSuccess();
}

std::vector<uint32_t> shadingIdsOf(const geometryS& g) {
    return g.shadingIds.empty() ? std::vector<uint32_t>(g.primitiveCount(), 0) : g.shadingIds;
}

// A mesh comes back as it was written, list for list.
void expectSameMesh(const geometryS& got, const geometryS& want) {
    EXPECT_EQ(got.kind, geometryKindE::mesh);
    EXPECT_TRUE(sameValues(got.positions, want.positions, "position"));
    EXPECT_TRUE(got.positionIndices == want.positionIndices);
    EXPECT_TRUE(sameValues(got.normals, want.normals, "normal"));
    EXPECT_TRUE(got.normalIndices == want.normalIndices);
    EXPECT_TRUE(sameValues(got.diffuseColors, want.diffuseColors, "diffuse colour"));
    EXPECT_TRUE(got.diffuseIndices == want.diffuseIndices);
    EXPECT_EQ(shadingIdsOf(got), shadingIdsOf(want));
}

void expectSameNodes(const sceneS& got, const sceneS& want) {
    ASSERT_EQ(got.nodes.size(), want.nodes.size());
    for (const nodeS& w : want.nodes) {
        const nodeS* g = got.findNode(w.name);
        ASSERT_TRUE(g) << w.name;
        EXPECT_EQ(g->kind, w.kind) << w.name;
        EXPECT_EQ(g->resource, w.resource) << w.name;
        EXPECT_EQ(g->shaders, w.shaders) << w.name;
        ASSERT_EQ(g->parents.size(), w.parents.size()) << w.name;
        for (std::size_t p = 0; p < w.parents.size(); ++p) {
            EXPECT_EQ(g->parents[p].name, w.parents[p].name);
            for (int i = 0; i < 16; ++i)
                EXPECT_EQ(g->parents[p].transform.m[i], double(float(w.parents[p].transform.m[i])));
        }
    }
}

// The lines the format can hold, as a decoder rebuilds them: each from its
// earlier position to its later one, ordered by the later one; a line from
// a position to itself is not written.
struct lineS {
    uint32_t from, to, shading;
    bool operator==(const lineS&) const = default;
};
std::vector<lineS> linesOf(const geometryS& g, bool asWritten) {
    std::vector<lineS> lines;
    const std::vector<uint32_t> ids = shadingIdsOf(g);
    for (std::size_t i = 0; i < g.primitiveCount(); ++i) {
        const uint32_t a = g.positionIndices[2 * i], b = g.positionIndices[2 * i + 1];
        if (asWritten && a == b)
            continue;
        lines.push_back({asWritten ? std::min(a, b) : a, asWritten ? std::max(a, b) : b, ids[i]});
    }
    if (asWritten)
        std::stable_sort(lines.begin(), lines.end(), [](const lineS& l, const lineS& r) { return l.to < r.to; });
    return lines;
}

TEST(WriterRoundTripTest, NodeTreeTransformsShadersAndMaterials) {
    sceneS scene = sceneOf(gridMesh("grid", 4, true, true));
    addShader(scene, "blue", {0, 0, 1, 0.5f});
    scene.materials.back().specular = {0.25f, 0.5f, 0.75f, 1};
    scene.materials.back().emissive = {0.125f, 0, 0, 1};
    scene.materials.back().reflectivity = 0.375f;
    scene.materials.back().opacity = 0.625f;
    scene.nodes[0].shaders = {"red", "blue"};
    scene.nodes[0].parents = {{"arm", translation(0, 0, 2)}, {"", translation(5, 5, 5)}};
    matrix4d rotation;
    rotation.m = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 1.5, -2.25, 3, 1};
    scene.nodes.push_back(groupNode("arm", {{"base", rotation}}));
    scene.nodes.push_back(groupNode("base", {{"", translation(-1, 0, 0)}}));
    scene.nodes.push_back(modelNode("empty", {{"base", matrix4d()}}, ""));
    scene.geometries.push_back(gridMesh("unused", 1, false, false));

    const sceneS back = roundTrip(scene);
    expectSameNodes(back, scene);
    ASSERT_EQ(back.geometries.size(), 2u);
    expectSameMesh(*back.findGeometry("grid"), scene.geometries[0]);
    expectSameMesh(*back.findGeometry("unused"), scene.geometries[1]);
    ASSERT_EQ(back.materials.size(), 2u);
    for (const materialS& m : scene.materials) {
        const materialS* g = back.findMaterial(m.name);
        ASSERT_TRUE(g);
        for (auto [a, b] : {std::pair{g->ambient, m.ambient}, {g->diffuse, m.diffuse}, {g->specular, m.specular},
                            {g->emissive, m.emissive}})
            EXPECT_TRUE(a.r == b.r && a.g == b.g && a.b == b.b);
        EXPECT_EQ(g->reflectivity, m.reflectivity);
        EXPECT_EQ(g->opacity, m.opacity);
    }
    ASSERT_EQ(back.shaders.size(), 2u);
    EXPECT_EQ(back.findShader("blue")->material, "blue");
    // The grid has colours: its shaders light with them.
    EXPECT_TRUE(back.findShader("red")->useVertexColors);
    EXPECT_TRUE(back.findShader("blue")->useVertexColors);
}

TEST(WriterRoundTripTest, MeshesSoupAndIndexedWithAndWithoutNormalsAndColours) {
    std::vector<geometryS> meshes{gridMesh("indexed", 6, true, true), soupOf(gridMesh("soup", 5, false, false)),
                                  soupOf(gridMesh("soupColours", 3, true, false))};
    geometryS bare = gridMesh("bare", 3, false, false);
    bare.normals.clear();
    bare.normalIndices.clear();
    meshes.push_back(bare);
    // A fan over an octagon, as a polygon is triangulated, with shading ids
    // from 0 to 2.
    geometryS fan;
    fan.name = "octagon";
    for (int i = 0; i < 8; ++i)
        fan.positions.push_back({std::cos(0.785398f * i), std::sin(0.785398f * i), 0});
    fan.normals.push_back({0, 0, 1});
    for (uint32_t i = 1; i + 1 < 8; ++i) {
        fan.positionIndices.insert(fan.positionIndices.end(), {0, i, i + 1});
        fan.normalIndices.insert(fan.normalIndices.end(), 3, 0);
        fan.shadingIds.push_back(i % 3);
    }
    meshes.push_back(fan);
    for (const geometryS& mesh : meshes) {
        SCOPED_TRACE(mesh.name);
        sceneS scene = sceneOf(mesh);
        scene.nodes[0].shaders.assign(3, "red");
        const sceneS back = roundTrip(scene);
        ASSERT_EQ(back.geometries.size(), 1u);
        expectSameMesh(back.geometries[0], mesh);
    }
}

TEST(WriterRoundTripTest, LineSetsComeBackInTheFormatsOrderWithExactPositions) {
    geometryS lines = polyline("ring", 40, true);
    // Lines listed backwards and out of order, one from a position to
    // itself, a second shading id.
    lines.positionIndices.insert(lines.positionIndices.end(), {7, 3, 12, 12, 30, 2});
    lines.diffuseIndices.insert(lines.diffuseIndices.end(), {7, 3, 12, 12, 30, 2});
    lines.shadingIds.assign(lines.primitiveCount(), 0);
    lines.shadingIds.back() = 1;
    sceneS scene = sceneOf(lines);
    scene.nodes[0].shaders = {"red", "red"};
    const sceneS read = roundTrip(scene);
    const geometryS& back = read.geometries.at(0);
    EXPECT_EQ(back.kind, geometryKindE::lineSet);
    ASSERT_EQ(back.positions.size(), lines.positions.size());
    for (std::size_t i = 0; i < lines.positions.size(); ++i)
        EXPECT_TRUE(sameValue(back.positions[i], lines.positions[i])) << i;
    EXPECT_EQ(linesOf(back, false), linesOf(lines, true));
}

TEST(WriterRoundTripTest, PointSetsComeBackOnePositionPerPointInOrder) {
    geometryS points = pointCloud("cloud", 500, true);
    // Points that share a position and a position no point uses.
    points.positionIndices.insert(points.positionIndices.end(), {5, 5, 0});
    points.diffuseIndices.insert(points.diffuseIndices.end(), {1, 2, 3});
    points.positions.push_back({1e6f, 0, 0});
    const sceneS read = roundTrip(sceneOf(points));
    const geometryS& back = read.geometries.at(0);
    EXPECT_EQ(back.kind, geometryKindE::pointSet);
    ASSERT_EQ(back.primitiveCount(), points.primitiveCount());
    for (std::size_t i = 0; i < points.primitiveCount(); ++i)
        EXPECT_TRUE(sameValue(back.positions[back.positionIndices[i]], points.positions[points.positionIndices[i]])) << i;
}

// Coordinates with every mantissa bit in use cannot all be exact in one
// step: each comes back within a step, 2^-23 of the largest coordinate's
// power of two.
TEST(WriterRoundTripTest, PositionsThatCannotBeExactComeBackWithinAStep) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> coordinate(-5000, 5000);
    geometryS points;
    points.name = "scatter";
    points.kind = geometryKindE::pointSet;
    for (uint32_t i = 0; i < 2000; ++i) {
        points.positions.push_back({coordinate(rng), coordinate(rng), coordinate(rng)});
        points.positionIndices.push_back(i);
    }
    const sceneS read = roundTrip(sceneOf(points));
    const geometryS& back = read.geometries.at(0);
    ASSERT_EQ(back.positions.size(), points.positions.size());
    const double step = std::ldexp(1.0, 13 - 23);  // 5000 < 2^13
    double worst = 0;
    for (std::size_t i = 0; i < points.positions.size(); ++i) {
        const vec3f &g = back.positions[i], &w = points.positions[i];
        worst = std::max({worst, std::fabs(double(g.x) - w.x), std::fabs(double(g.y) - w.y), std::fabs(double(g.z) - w.z)});
    }
    EXPECT_LE(worst, step);
    EXPECT_GT(worst, 0);
}

// The power of two above the largest coordinate.
int largestExponent(const geometryS& g) {
    float largest = 0;
    for (const vec3f& p : g.positions)
        largest = std::max({largest, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
    int e = 0;
    std::frexp(largest, &e);
    return e;
}

bool within(const vec3f& a, const vec3f& b, double step) {
    return std::fabs(double(a.x) - b.x) <= step && std::fabs(double(a.y) - b.y) <= step &&
           std::fabs(double(a.z) - b.z) <= step;
}

// The corners of each primitive where they stand: what a set shows,
// however its positions are numbered.
std::vector<vec3f> cornerPositions(const geometryS& g) {
    std::vector<vec3f> corners;
    for (uint32_t index : g.positionIndices)
        corners.push_back(g.positions[index]);
    return corners;
}

// The reference scenes, progressive meshes and all, as the reader gives
// them: written and read again, the same nodes, geometry, shaders,
// materials and world box. Meshes come back list for list; lights and
// views as groups (the scene keeps none of their resources).
TEST(WriterRoundTripTest, ReferenceScenesSurviveWritingAndReadingAgain) {
    std::size_t scenes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(U3DPDF_TEST_DATA_DIR) + "/scenes")) {
        if (entry.path().extension() != ".u3d")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        ++scenes;
        const u3dFileS first = readU3dFile(entry.path().string());
        sceneS expected = first.scene;
        for (nodeS& node : expected.nodes)
            if (node.kind == nodeKindE::light || node.kind == nodeKindE::view)
                node = groupNode(node.name, node.parents);
        const u3dFileS second = readU3dMemory(writeU3dMemory(first.scene));
        expectSameNodes(second.scene, expected);
        ASSERT_EQ(second.scene.geometries.size(), expected.geometries.size());
        for (const geometryS& want : expected.geometries) {
            const geometryS* got = second.scene.findGeometry(want.name);
            ASSERT_TRUE(got) << want.name;
            EXPECT_EQ(got->kind, want.kind);
            EXPECT_EQ(got->shaders, want.shaders);
            EXPECT_EQ(shadingIdsOf(*got), shadingIdsOf(want));
            if (want.kind == geometryKindE::mesh)
                expectSameMesh(*got, want);
            // Line and point positions within a step of the writer's
            // (u3d/primitiveSetBlocks.h); mesh positions exactly.
            const double step = want.kind == geometryKindE::mesh ? 0 : std::ldexp(1.0, largestExponent(want) - 23);
            const std::vector<vec3f> gotCorners = cornerPositions(*got), wantCorners = cornerPositions(want);
            ASSERT_EQ(gotCorners.size(), wantCorners.size());
            for (std::size_t k = 0; k < wantCorners.size(); ++k)
                EXPECT_TRUE(within(gotCorners[k], wantCorners[k], step)) << want.name << " corner " << k;
        }
        ASSERT_EQ(second.scene.shaders.size(), expected.shaders.size());
        for (const shaderS& want : expected.shaders)
            EXPECT_EQ(second.scene.findShader(want.name)->material, want.material);
        ASSERT_EQ(second.scene.materials.size(), expected.materials.size());
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(second.summary.worldBox.min[i], first.summary.worldBox.min[i], 1e-5);
            EXPECT_NEAR(second.summary.worldBox.max[i], first.summary.worldBox.max[i], 1e-5);
        }
    }
    EXPECT_GE(scenes, 50u);
}

// The sanitizer build checks every access and takes ten times as long: it
// writes a grid of a hundredth the size, which runs every path the full one
// does; the plain build writes the million.
#ifdef __SANITIZE_ADDRESS__
constexpr unsigned kGridSide = 71;
constexpr std::size_t kLeastTriangles = 10000;
#else
constexpr unsigned kGridSide = 708;
constexpr std::size_t kLeastTriangles = 1000000;
#endif

TEST(WriterRoundTripTest, AMillionTriangles) {
    const geometryS grid = gridMesh("million", kGridSide, false, false);
    ASSERT_GE(grid.primitiveCount(), kLeastTriangles);
    const sceneS back = roundTrip(sceneOf(grid));
    ASSERT_EQ(back.geometries.size(), 1u);
    expectSameMesh(back.geometries[0], grid);
}

}  // namespace
