#include "testScenes.h"

#include "u3d/sceneInstances.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace u3d;

using u3dtest::translation;

nodeS node(nodeKindE kind, const std::string& name, std::vector<parentS> parents, const std::string& resource = "") {
    nodeS n;
    n.kind = kind;
    n.name = name;
    n.parents = std::move(parents);
    n.resource = resource;
    return n;
}

// A unit cube's eight corners as one point set, so that the box is exact.
geometryS unitCorners(const std::string& name) {
    geometryS g;
    g.kind = geometryKindE::pointSet;
    g.name = name;
    for (int i = 0; i < 8; ++i) {
        g.positions.push_back({float(i & 1), float((i >> 1) & 1), float((i >> 2) & 1)});
        g.positionIndices.push_back(uint32_t(i));
    }
    return g;
}

TEST(SceneInstancesTest, EveryParentPathIsOneInstanceWithTheProductOfItsTransforms) {
    sceneS scene;
    scene.geometries.push_back(unitCorners("corners"));
    // Two groups under the world, one of them twice; the model sits under both.
    scene.nodes.push_back(node(nodeKindE::group, "A", {{"", translation(10, 0, 0)}}));
    scene.nodes.push_back(node(nodeKindE::group, "B", {{"", translation(0, 20, 0)}, {"", translation(0, -20, 0)}}));
    scene.nodes.push_back(node(nodeKindE::model, "M", {{"A", translation(0, 0, 1)}, {"B", translation(0, 0, 2)}}, "corners"));
    // Declared before its parent: order in the file does not matter.
    scene.nodes.insert(scene.nodes.begin(), node(nodeKindE::model, "N", {{"M", matrix4d()}}, "corners"));

    const auto instances = modelInstances(scene);
    ASSERT_EQ(instances.size(), 6u);  // N under each of M's three paths, M three times
    const boxS box = worldBox(scene, instances);
    EXPECT_EQ(box.min, (std::array<double, 3>{0, -20, 1}));
    EXPECT_EQ(box.max, (std::array<double, 3>{11, 21, 3}));
}

TEST(SceneInstancesTest, UnknownParentsLeadNowhereAndUnusedGeometryDoesNotCount) {
    sceneS scene;
    scene.geometries.push_back(unitCorners("used"));
    geometryS far = unitCorners("unused");
    far.positions[0] = {1000, 1000, 1000};
    scene.geometries.push_back(far);
    scene.nodes.push_back(node(nodeKindE::model, "M", {{"missing", matrix4d()}, {"", matrix4d()}}, "used"));
    scene.nodes.push_back(node(nodeKindE::light, "L", {{"", matrix4d()}}, "unused"));

    const auto instances = modelInstances(scene);
    ASSERT_EQ(instances.size(), 1u);
    const boxS box = worldBox(scene, instances);
    EXPECT_EQ(box.max, (std::array<double, 3>{1, 1, 1}));
    EXPECT_TRUE(worldBox(scene, {}).empty);
}

TEST(SceneInstancesTest, RotationsTransformEveryPositionNotTheBoxCorners) {
    sceneS scene;
    geometryS diamond;
    diamond.kind = geometryKindE::pointSet;
    diamond.name = "d";
    diamond.positions = {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}};
    diamond.positionIndices = {0, 1, 2, 3};
    scene.geometries.push_back(diamond);
    matrix4d rotate45;  // about z
    const double c = std::sqrt(0.5);
    rotate45.m[0] = c, rotate45.m[1] = c, rotate45.m[4] = -c, rotate45.m[5] = c;
    scene.nodes.push_back(node(nodeKindE::model, "M", {{"", rotate45}}, "d"));
    const boxS box = worldBox(scene, modelInstances(scene));
    EXPECT_NEAR(box.max[0], c, 1e-12);  // the rotated box corners would give sqrt(2)
    EXPECT_NEAR(box.min[1], -c, 1e-12);
}

TEST(SceneInstancesTest, CyclesAndPathExplosionsAreErrorsNotHangs) {
    sceneS cycle;
    cycle.nodes.push_back(node(nodeKindE::group, "A", {{"B", matrix4d()}}));
    cycle.nodes.push_back(node(nodeKindE::group, "B", {{"A", matrix4d()}}));
    cycle.nodes.push_back(node(nodeKindE::model, "M", {{"", matrix4d()}, {"B", matrix4d()}}));
    EXPECT_THROW(modelInstances(cycle), sceneError);

    sceneS self;
    self.nodes.push_back(node(nodeKindE::group, "S", {{"S", matrix4d()}}));
    EXPECT_THROW(modelInstances(self), sceneError);

    // 25 levels of two parents each: 2^25 paths to the last node.
    sceneS doubling;
    doubling.nodes.push_back(node(nodeKindE::group, "n0", {{"", matrix4d()}}));
    for (int i = 1; i <= 25; ++i) {
        const std::string above = "n" + std::to_string(i - 1);
        doubling.nodes.push_back(node(nodeKindE::group, "n" + std::to_string(i), {{above, matrix4d()}, {above, matrix4d()}}));
    }
    EXPECT_THROW(modelInstances(doubling), sceneError);
}

}  // namespace
