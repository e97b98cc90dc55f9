// The two pieces of the mapping that work on whole arrays of names and
// values: unique names and the join of identical values.
#include "import/joinIdentical.h"
#include "import/uniqueNames.h"
#include "u3d/scene.h"

#include <assimp/vector3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <vector>

namespace {

using meshimport::joinIdentical;

TEST(ImportPartsTest, NamesAreMadeUniqueWithTheFirstFreeSuffix) {
    meshimport::uniqueNamesC names;
    EXPECT_EQ(names.take("arm", "Node"), "arm");
    EXPECT_EQ(names.take("arm", "Node"), "arm_2");
    EXPECT_EQ(names.take("arm_3", "Node"), "arm_3");
    EXPECT_EQ(names.take("arm", "Node"), "arm_4");  // arm_3 is the file's own
    EXPECT_EQ(names.take("", "Node"), "Node");
    EXPECT_EQ(names.take("", "Node"), "Node_2");
    EXPECT_EQ(names.take("Node_2", "x"), "Node_2_2");
}

TEST(ImportPartsTest, IdenticalValuesJoinInFirstSeenOrderWithMinusZeroAsZero) {
    const aiVector3D in[] = {{1, 2, 3}, {-0.0f, 0, 0}, {1, 2, 3}, {0, 0, 0}, {0, -0.0f, 0}, {1, 2, 3.0000002f}};
    std::vector<u3d::vec3f> distinct;
    EXPECT_EQ(joinIdentical(in, std::size(in), distinct), (std::vector<uint32_t>{0, 1, 0, 1, 1, 2}));
    ASSERT_EQ(distinct.size(), 3u);
    EXPECT_EQ(distinct[1].x, 0);
    EXPECT_FALSE(std::signbit(distinct[1].x));
    EXPECT_EQ(distinct[2].z, 3.0000002f);
}

TEST(ImportPartsTest, JoiningManyValuesKeepsEveryIndexRightAsTheTableGrows) {
    // 50 000 distinct values, each three times in a scattered order: the
    // table starts small and doubles several times on the way.
    const uint32_t kDistinct = 50000;
    std::vector<aiVector3D> in;
    std::vector<uint32_t> expected;
    for (uint32_t round = 0; round < 3; ++round)
        for (uint32_t i = 0; i < kDistinct; ++i) {
            const uint32_t v = (i * 7919 + round * 104729) % kDistinct;
            in.push_back({float(v), float(v % 13) * 0.5f, -float(v / 7)});
            expected.push_back(v);
        }
    std::vector<u3d::vec3f> distinct;
    const std::vector<uint32_t> index = joinIdentical(in.data(), in.size(), distinct);
    ASSERT_EQ(distinct.size(), kDistinct);
    ASSERT_EQ(index.size(), in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        ASSERT_LT(index[i], kDistinct);
        EXPECT_EQ(distinct[index[i]].x, in[i].x) << i;
        EXPECT_EQ(distinct[index[i]].y, in[i].y) << i;
        EXPECT_EQ(distinct[index[i]].z, in[i].z) << i;
    }
    // The same value always gets the same index.
    std::vector<uint32_t> indexOfValue(kDistinct, UINT32_MAX);
    for (std::size_t i = 0; i < in.size(); ++i) {
        uint32_t& seen = indexOfValue[expected[i]];
        if (seen == UINT32_MAX)
            seen = index[i];
        EXPECT_EQ(index[i], seen) << i;
    }
}

}  // namespace
