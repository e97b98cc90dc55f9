#include "testScenes.h"

#include "u3d/sceneInstances.h"
#include "u3d/sceneScale.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace u3d;
using namespace u3dtest;

TEST(SceneScaleTest, ANewRootScalesTheWorldBoxAndKeepsEveryPath) {
    sceneS scene = sceneOf(gridMesh("grid", 2, false, false));
    scene.nodes[0].parents = {{"", translation(10, 0, 0)}, {"arm", matrix4d()}};
    scene.nodes.push_back(groupNode("arm", {{"", translation(0, 20, 0)}}));
    scene.nodes.push_back(groupNode("scale", {}));
    const boxS before = worldBox(scene, modelInstances(scene));

    EXPECT_EQ(scaleUnderNewRoot(scene, 0.5), "scale 2");
    ASSERT_EQ(scene.nodes.front().name, "scale 2");
    EXPECT_EQ(scene.nodes.front().parents.size(), 1u);
    EXPECT_EQ(scene.nodes.front().parents[0].name, "");
    for (std::size_t i = 1; i < scene.nodes.size(); ++i)
        for (const parentS& parent : scene.nodes[i].parents)
            EXPECT_FALSE(parent.name.empty()) << scene.nodes[i].name;
    const auto instances = modelInstances(scene);
    EXPECT_EQ(instances.size(), 2u);
    const boxS after = worldBox(scene, instances);
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(after.min[i], before.min[i] * 0.5);
        EXPECT_DOUBLE_EQ(after.max[i], before.max[i] * 0.5);
    }
    EXPECT_THROW(scaleUnderNewRoot(scene, 0), std::invalid_argument);
    EXPECT_THROW(scaleUnderNewRoot(scene, std::nan("")), std::invalid_argument);
}

}  // namespace
