// Scenes the writer refuses before writing anything, and what a refused or
// failed file write leaves behind: nothing.
#include "testScenes.h"

#include "u3d/sceneInstances.h"
#include "u3d/writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>

namespace {

using namespace u3d;
using namespace u3dtest;
namespace fs = std::filesystem;

struct refusalS {
    const char* fault;
    std::function<void(sceneS&)> breakIt;
};

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(WriterRefusalTest, EveryFaultIsASceneErrorNamingIt) {
    const refusalS cases[] = {
        {"geometry \"grid\": position 3 has a NaN or infinite value", [](sceneS& s) { s.geometries[0].positions[3].y = kNaN; }},
        {"geometry \"grid\": normal 0 has a NaN or infinite value", [](sceneS& s) { s.geometries[0].normals[0].z = -kInf; }},
        {"diffuse colour 2 has a NaN", [](sceneS& s) { s.geometries[0].diffuseColors[2].a = kNaN; }},
        {"node \"model\": a transform element that is NaN", [](sceneS& s) { s.nodes[0].parents[0].transform.m[13] = 1e300; }},
        {"material \"red\": a colour", [](sceneS& s) { s.materials[0].specular.g = kInf; }},
        {"reflectivity or opacity", [](sceneS& s) { s.materials[0].opacity = kNaN; }},
        {"units scale", [](sceneS& s) { s.hasUnitsScale = true, s.unitsScale = 0; }},
        {"two nodes are named \"model\"", [](sceneS& s) { s.nodes.push_back(s.nodes[0]); }},
        {"a geometry without a name", [](sceneS& s) { s.geometries[0].name.clear(); }},
        {"a node name of 70000 bytes", [](sceneS& s) { s.nodes[0].name.assign(70000, 'n'); }},
        {"parent cycle", [](sceneS& s) {
             s.nodes.push_back(groupNode("a", {{"b", matrix4d()}}));
             s.nodes.push_back(groupNode("b", {{"a", matrix4d()}}));
         }},
        {"position index 99 of corner 5 is out of range (9 positions)", [](sceneS& s) { s.geometries[0].positionIndices[5] = 99; }},
        {"no whole number of triangles", [](sceneS& s) { s.geometries[0].positionIndices.pop_back(); }},
        {"23 normal indices for 24 corners", [](sceneS& s) { s.geometries[0].normalIndices.pop_back(); }},
        {"3 shading ids for 8 primitives", [](sceneS& s) { s.geometries[0].shadingIds.assign(3, 0); }},
        {"shading id 65536", [](sceneS& s) { s.geometries[0].shadingIds.assign(8, 65536); }},
    };
    for (const refusalS& c : cases) {
        sceneS scene = sceneOf(gridMesh("grid", 2, true, false));
        c.breakIt(scene);
        try {
            writeU3dMemory(scene);
            ADD_FAILURE() << "written despite: " << c.fault;
        } catch (const sceneError& e) {
            EXPECT_NE(std::string(e.what()).find(c.fault), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos);
        }
    }
}

// Names of objects the scene lacks are written as they are, as files that
// come with other files hold them.
TEST(WriterRefusalTest, NamesOfAbsentObjectsAreWrittenAsTheyAre) {
    sceneS scene = sceneOf(gridMesh("grid", 2, false, false));
    scene.nodes[0].parents.push_back({"nowhere", matrix4d()});
    scene.nodes[0].shaders.push_back("green");
    scene.nodes.push_back(modelNode("other", {{"", matrix4d()}}, "gone"));
    scene.shaders[0].material = "paint";
    const std::vector<uint8_t> bytes = writeU3dMemory(scene);
    const std::string text(bytes.begin(), bytes.end());
    for (const char* name : {"nowhere", "green", "gone", "paint"})
        EXPECT_NE(text.find(name), std::string::npos) << name;
}

class WriterFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("u3d-writer-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::string contents(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path folder_;
};

TEST_F(WriterFileTest, ReplacesTheTargetOnlyWhenComplete) {
    const fs::path target = folder_ / "model.u3d";
    std::ofstream(target) << "old";
    sceneS broken = sceneOf(gridMesh("grid", 2, false, false));
    broken.geometries[0].positions[0].x = kNaN;
    EXPECT_THROW(writeU3dFile(broken, target.string()), sceneError);
    EXPECT_EQ(contents(target), "old");
    EXPECT_EQ(entries(), std::vector<std::string>{"model.u3d"});

    const sceneS scene = sceneOf(gridMesh("grid", 3, true, true));
    writeU3dFile(scene, target.string());
    const std::vector<uint8_t> expected = writeU3dMemory(scene);
    EXPECT_EQ(contents(target), std::string(expected.begin(), expected.end()));
    EXPECT_EQ(entries(), std::vector<std::string>{"model.u3d"});
}

TEST_F(WriterFileTest, AFolderThatCannotTakeTheFileIsAnErrorNamingThePath) {
    const fs::path target = folder_ / "missing" / "model.u3d";
    try {
        writeU3dFile(sceneOf(gridMesh("grid", 1, false, false)), target.string());
        ADD_FAILURE() << "written into a missing folder";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(target.string()), std::string::npos) << e.what();
    }
    // A folder at the path is not replaced by the file.
    fs::create_directories(folder_ / "taken.u3d");
    EXPECT_THROW(writeU3dFile(sceneOf(gridMesh("grid", 1, false, false)), (folder_ / "taken.u3d").string()),
                 std::runtime_error);
    EXPECT_TRUE(fs::is_directory(folder_ / "taken.u3d"));
    EXPECT_EQ(entries(), (std::vector<std::string>{"taken.u3d"}));
}

}  // namespace
