// u3dpdf formats: U3D, then the mesh formats of the linked assimp.
#include "cliRunner.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

TEST(CliFormatsTest, ListsU3dFirstThenEveryMeshFormatOnceInOrder) {
    const cliResultS run = runCli({"formats"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    std::istringstream lines(run.out);
    std::vector<std::string> extensions;
    const std::regex line("([a-z0-9.]+) +(.+)");
    for (std::string text; std::getline(lines, text);) {
        std::smatch parts;
        ASSERT_TRUE(std::regex_match(text, parts, line)) << text;
        extensions.push_back(parts[1]);
    }
    ASSERT_FALSE(extensions.empty());
    EXPECT_EQ(extensions[0], "u3d");
    EXPECT_TRUE(std::is_sorted(extensions.begin() + 1, extensions.end()));
    const std::set<std::string> listed(extensions.begin(), extensions.end());
    EXPECT_EQ(listed.size(), extensions.size());
    for (const char* format : {"stl", "obj", "ply", "off", "gltf", "glb", "3mf", "dae"})
        EXPECT_TRUE(listed.count(format)) << format;
}

}  // namespace
