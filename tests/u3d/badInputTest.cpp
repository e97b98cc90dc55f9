// Input that is not U3D, is cut short or claims what it does not hold: a
// formatError naming the block, never a crash, a hang or a huge allocation.
#include "u3d/blockTypes.h"
#include "u3d/reader.h"
#include "u3dTestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>

namespace {

using namespace u3d;
using namespace u3dtest;

const std::string kScenes = std::string(U3DPDF_TEST_DATA_DIR) + "/scenes/";

// The read fails with one line; returns it.
std::string failure(const bytesT& bytes, readOptionsS options = {}) {
    try {
        readU3dMemory(bytes, options);
    } catch (const formatError& e) {
        const std::string line = e.what();
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
        return line;
    }
    ADD_FAILURE() << "read " << bytes.size() << " bytes without a fault";
    return {};
}

// The offsets at which the file's top-level blocks start.
std::vector<std::size_t> blockStarts(const bytesT& bytes) {
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at + 12 <= bytes.size();) {
        starts.push_back(at);
        uint32_t sizes[2];
        std::memcpy(sizes, bytes.data() + at + 4, 8);
        at += 12 + (sizes[0] + 3) / 4 * 4 + (sizes[1] + 3) / 4 * 4;
    }
    return starts;
}

TEST(U3dReaderBadInputTest, TruncationAnywhereIsAFaultOfTheStructure) {
    for (const char* name : {"box.u3d", "lineset.u3d", "metadata.u3d", "file_ref.u3d"}) {
        SCOPED_TRACE(name);
        const bytesT whole = readBytes(kScenes + name);
        // At every block boundary the file is complete block by block; the
        // size its header declares tells.
        for (std::size_t cut : blockStarts(whole)) {
            if (cut == 0)
                continue;
            const std::string line = failure(bytesT(whole.begin(), whole.begin() + cut), {false});
            EXPECT_NE(line.find("block 0x00443355 (file header) at offset 0: the file header declares " +
                                std::to_string(whole.size()) + " bytes, the file has " + std::to_string(cut) +
                                ": it is truncated"),
                      std::string::npos)
                << line;
        }
        // Inside blocks, and in the header itself.
        for (std::size_t cut = 1; cut < whole.size(); cut += 7)
            failure(bytesT(whole.begin(), whole.begin() + cut), {false});
    }
}

TEST(U3dReaderBadInputTest, FilesThatAreNotU3dSayWhatTheyBeginWith) {
    const std::string stl = "solid part\n  facet normal 0 0 1\n    outer loop\n      vertex 0 0 0\n";
    EXPECT_EQ(failure(bytesT(stl.begin(), stl.end())),
              "block 0x696C6F73 at offset 0: not a U3D file: it does not begin with a file header block "
              "(type 0x00443355)");
    // A binary STL: 80 bytes of header text, the triangle count, triangles.
    bytesT binary(84 + 50, 0);
    std::memcpy(binary.data(), "binary STL exported", 19);
    binary[80] = 1;
    EXPECT_NE(failure(binary).find("not a U3D file"), std::string::npos);
    EXPECT_EQ(failure({'U', '3', 'D'}), "at offset 0: not a U3D file: 3 bytes are too few for its file header block");
    EXPECT_NE(failure({}).find("not a U3D file"), std::string::npos);

    std::mt19937 random(17);
    for (int round = 0; round < 500; ++round) {
        bytesT noise(random() % 300);
        for (uint8_t& b : noise)
            b = static_cast<uint8_t>(random());
        failure(noise, {false});
    }
}

TEST(U3dReaderBadInputTest, SizesPastTheEndNameTheBlockAndItsOffset) {
    bytesT bytes = readBytes(kScenes + "box.u3d");
    const std::vector<std::size_t> starts = blockStarts(bytes);
    // The third top-level block (a modifier chain) claims 4 GiB of data.
    const std::size_t at = starts[2];
    const uint32_t huge = 0xFFFFFFF0;
    std::memcpy(bytes.data() + at + 4, &huge, 4);
    EXPECT_EQ(failure(bytes, {false}), "block 0xFFFFFF14 (modifier chain) at offset " + std::to_string(at) +
                                           ": data size 4294967280 and metadata size 0 run past the end of the file (" +
                                           std::to_string(bytes.size() - at) + " bytes left)");

    // A block inside a modifier chain that runs past the chain.
    const bytesT inner = node(kGroupNodeBlock, "G", {{"", {}}});
    bytesT chained = chain("G", 0, {inner});
    const std::size_t innerAt = chained.size() - inner.size();
    const uint32_t tooLong = static_cast<uint32_t>(inner.size());
    std::memcpy(chained.data() + innerAt + 4, &tooLong, 4);
    const std::string line = failure(file({chained}), {false});
    EXPECT_NE(line.find("block 0xFFFFFF21 (group node) at offset " + std::to_string(36 + innerAt) +
                        ": data size " + std::to_string(tooLong) + " and metadata size 0 run past the end of its modifier chain"),
              std::string::npos)
        << line;
}

TEST(U3dReaderBadInputTest, ClaimedCountsAllocateNothingTheFileCannotHold) {
    // 2^32 - 1 blocks in a modifier chain, faces in a base mesh, parents of
    // a node: each fails on what is there, not on what is claimed.
    std::vector<bytesT> blocks = triangleModel("M", {{"", {}}});
    const std::string manyBlocks = failure(file({chain("C", 0, {node(kGroupNodeBlock, "G", {})}, 0xFFFFFFFF)}), {false});
    EXPECT_EQ(manyBlocks, "block 0xFFFFFF14 (modifier chain) at offset 36: the modifier chain claims 4294967295 blocks "
                          "and holds 1");

    const bytesT faces = chain("Mesh", 1, {meshDeclaration("Mesh", 0xFFFFFFFF, 3),
                                           baseMesh("Mesh", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {}, 0xFFFFFFFF)});
    const std::string manyFaces = failure(file({faces}));
    EXPECT_EQ(manyFaces.rfind("block 0xFFFFFF3B (CLOD base mesh continuation) at offset ", 0), 0u) << manyFaces;
    EXPECT_NE(manyFaces.find(": face count 4294967295 is more than the block's 36 bytes can hold"), std::string::npos)
        << manyFaces;

    u3d::u3dFileS lenient = readU3dMemory(file({faces}), {false});
    ASSERT_EQ(lenient.summary.faults.size(), 1u);
    EXPECT_TRUE(lenient.scene.geometries.at(0).positions.empty());

    bytesT parents = node(kGroupNodeBlock, "G", {{"", {}}});
    const uint32_t many = 0xFFFFFFFF;
    std::memcpy(parents.data() + 12 + 2 + 1, &many, 4);
    EXPECT_NE(failure(file({parents})).find("parent count 4294967295"), std::string::npos);
}

TEST(U3dReaderBadInputTest, ParentCyclesAreFaultsOfTheNodeNotHangs) {
    std::vector<bytesT> blocks = {chain("A", 0, {node(kGroupNodeBlock, "A", {{"B", {}}})}),
                                  chain("B", 0, {node(kGroupNodeBlock, "B", {{"A", {}}, {"", {}}})})};
    const std::vector<bytesT> model = triangleModel("M", {{"A", {}}});
    blocks.insert(blocks.end(), model.begin(), model.end());
    const bytesT bytes = file(blocks);
    const std::string line = failure(bytes);
    EXPECT_NE(line.find("(group node) at offset "), std::string::npos) << line;
    EXPECT_NE(line.find(": parent cycle through node \""), std::string::npos) << line;

    // Read leniently, the scene is there and the cycle is a fault.
    const u3dFileS read = readU3dMemory(bytes, {false});
    EXPECT_EQ(read.scene.nodes.size(), 3u);
    ASSERT_EQ(read.summary.faults.size(), 1u);
    EXPECT_EQ(read.summary.faults[0], line);
    EXPECT_TRUE(read.summary.worldBox.empty);
}

TEST(U3dReaderBadInputTest, FlippedBitsInRealFilesDecodeOrFailCleanly) {
    std::mt19937 random(5);
    for (const char* name : {"box.u3d", "box_vertex_color.u3d", "lineset.u3d", "pointset.u3d", "box_base.u3d"}) {
        const bytesT whole = readBytes(kScenes + name);
        for (int round = 0; round < 40; ++round) {
            bytesT bytes = whole;
            for (int flips = 1 + random() % 4; flips > 0; --flips)
                bytes[random() % bytes.size()] ^= static_cast<uint8_t>(1u << (random() % 8));
            try {
                readU3dMemory(bytes, {false});
            } catch (const formatError&) {
            }
        }
    }
}

TEST(U3dReaderBadInputTest, DeclaredSizesAndContinuationsOutOfOrder) {
    // Declared shorter than it is: a fault of the content, the rest reads.
    bytesT longer = file(triangleModel("M", {{"", {}}}));
    const bytesT extra = block(kPriorityUpdateBlock, {1, 0, 0, 0});
    longer.insert(longer.end(), extra.begin(), extra.end());
    const u3dFileS read = readU3dMemory(longer, {false});
    ASSERT_EQ(read.summary.faults.size(), 1u);
    EXPECT_NE(read.summary.faults[0].find("declares " + std::to_string(longer.size() - extra.size())), std::string::npos);
    EXPECT_EQ(read.summary.modelInstanceCount, 1u);

    // A continuation of a resource never declared.
    const std::string line = failure(file({baseMesh("Nowhere", {{0, 0, 0}}, {})}));
    EXPECT_NE(line.find("a continuation of \"Nowhere\", which no declaration before it declares"), std::string::npos)
        << line;
}

}  // namespace
