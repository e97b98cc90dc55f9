// The blocks the writer lays out, read back field by field: the header's
// sizes, block framing and order, modifier chains, node, shading modifier
// and base mesh fields with the contexts they are coded with.
#include "testScenes.h"

#include "u3d/bitReader.h"
#include "u3d/blockTypes.h"
#include "u3d/contexts.h"
#include "u3d/writer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace u3d;
using namespace u3dtest;

uint32_t u32At(const std::vector<uint8_t>& b, std::size_t at) {
    uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

struct parsedBlockS {
    uint32_t type;
    uint64_t offset;
    std::vector<uint8_t> data;
};

// The framed blocks of bytes[from, to), checking their framing as it goes:
// no metadata, zero padding to 4 bytes, nothing left over.
std::vector<parsedBlockS> framedBlocks(const std::vector<uint8_t>& bytes, std::size_t from, std::size_t to) {
    std::vector<parsedBlockS> blocks;
    std::size_t at = from;
    while (at < to) {
        EXPECT_EQ(at % 4, from % 4);
        const uint32_t size = u32At(bytes, at + 4);
        EXPECT_EQ(u32At(bytes, at + 8), 0u) << "metadata";
        const std::size_t data = at + 12, end = data + ((size + 3) & ~3u);
        EXPECT_LE(end, to);
        if (end > to)
            break;
        for (std::size_t k = data + size; k < end; ++k)
            EXPECT_EQ(bytes[k], 0) << "padding";
        blocks.push_back({u32At(bytes, at), at, {bytes.begin() + data, bytes.begin() + data + size}});
        at = end;
    }
    EXPECT_EQ(at, to);
    return blocks;
}

// Name, chain type, attributes and padding of a modifier chain, then its
// declarations.
std::vector<parsedBlockS> chainContents(const parsedBlockS& chain, const std::string& name, uint32_t type) {
    EXPECT_EQ(chain.type, kModifierChainBlock);
    bitReaderC r(chain.data, {});
    EXPECT_EQ(r.readString(), name);
    EXPECT_EQ(r.readU32(), type);
    EXPECT_EQ(r.readU32(), 0u);
    while (r.bitsRead() % 32 != 0)
        EXPECT_EQ(r.readU8(), 0);
    const uint32_t count = r.readU32();
    auto modifiers = framedBlocks(chain.data, r.bitsRead() / 8, chain.data.size());
    EXPECT_EQ(modifiers.size(), count);
    return modifiers;
}

sceneS twoNodeScene() {
    sceneS scene = sceneOf(gridMesh("grid", 2, true, true));
    addShader(scene, "blue", {0, 0, 1, 1});
    scene.nodes[0].parents[0].name = "group";
    scene.nodes[0].shaders = {"red", "blue"};
    scene.nodes.insert(scene.nodes.begin(), groupNode("group", {{"", translation(1, 2, 3)}}));
    return scene;
}

TEST(WriterLayoutTest, HeaderSizesBlockOrderAndModifierChains) {
    const std::vector<uint8_t> bytes = writeU3dMemory(twoNodeScene());
    const auto blocks = framedBlocks(bytes, 0, bytes.size());
    std::vector<uint32_t> types;
    for (const auto& b : blocks)
        types.push_back(b.type);
    EXPECT_EQ(types, (std::vector<uint32_t>{kFileHeaderBlock, kModifierChainBlock, kModifierChainBlock,
                                            kModifierChainBlock, kLitTextureShaderBlock, kLitTextureShaderBlock,
                                            kMaterialResourceBlock, kMaterialResourceBlock,
                                            kClodBaseMeshContinuationBlock}));
    ASSERT_EQ(blocks.size(), 9u);

    bitReaderC header(blocks[0].data, {});
    EXPECT_EQ(header.readU32(), 0u);                     // version 0.0
    EXPECT_EQ(header.readU32(), 0u);                     // base profile
    EXPECT_EQ(header.readU32(), blocks[8].offset);       // declarations end where continuations start
    EXPECT_EQ(header.readU64(), uint64_t(bytes.size()));  // file size
    EXPECT_EQ(header.readU32(), 106u);                   // UTF-8
    EXPECT_EQ(header.bitsLeft(), 0u);

    EXPECT_EQ(chainContents(blocks[1], "group", 0)[0].type, kGroupNodeBlock);
    const auto model = chainContents(blocks[2], "model", 0);
    ASSERT_EQ(model.size(), 2u);
    EXPECT_EQ(model[0].type, kModelNodeBlock);
    EXPECT_EQ(model[1].type, kShadingModifierBlock);
    const auto grid = chainContents(blocks[3], "grid", 1);
    ASSERT_EQ(grid.size(), 1u);
    EXPECT_EQ(grid[0].type, kClodMeshDeclarationBlock);
}

TEST(WriterLayoutTest, UnitsScaleSetsTheProfileBitAndFollowsTheEncoding) {
    sceneS scene = twoNodeScene();
    scene.hasUnitsScale = true;
    scene.unitsScale = 0.001;
    const std::vector<uint8_t> bytes = writeU3dMemory(scene);
    const auto blocks = framedBlocks(bytes, 0, bytes.size());
    bitReaderC header(blocks[0].data, {});
    header.readU32();
    EXPECT_EQ(header.readU32(), 8u);
    header.readU32();
    header.readU64();
    header.readU32();
    EXPECT_EQ(header.readF64(), 0.001);
}

TEST(WriterLayoutTest, NodeAndShadingModifierFields) {
    const std::vector<uint8_t> bytes = writeU3dMemory(twoNodeScene());
    const auto blocks = framedBlocks(bytes, 0, bytes.size());
    const auto model = chainContents(blocks[2], "model", 0);

    bitReaderC node(model[0].data, {});
    EXPECT_EQ(node.readString(), "model");
    EXPECT_EQ(node.readU32(), 1u);
    EXPECT_EQ(node.readString(), "group");
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(node.readF32(), i % 5 == 0 ? 1.0f : 0.0f);
    EXPECT_EQ(node.readString(), "grid");
    EXPECT_EQ(node.readU32(), 3u);  // front and back visible
    EXPECT_EQ(node.bitsLeft(), 0u);

    bitReaderC shading(model[1].data, {});
    EXPECT_EQ(shading.readString(), "model");
    EXPECT_EQ(shading.readU32(), 1u);  // chain index
    EXPECT_EQ(shading.readU32(), 15u);
    EXPECT_EQ(shading.readU32(), 2u);
    for (const char* shader : {"red", "blue"}) {
        EXPECT_EQ(shading.readU32(), 1u);
        EXPECT_EQ(shading.readString(), shader);
    }

    const auto groupChain = chainContents(blocks[1], "group", 0);
    bitReaderC group(groupChain[0].data, {});
    group.readString();
    group.readU32();
    EXPECT_EQ(group.readString(), "");  // the world
    for (int i = 0; i < 12; ++i)
        group.readF32();
    EXPECT_EQ(group.readF32(), 1.0f);
    EXPECT_EQ(group.readF32(), 2.0f);
    EXPECT_EQ(group.readF32(), 3.0f);
}

// The base mesh of a coloured mesh with two shadings: counts, the values
// as F32, then per face its shading id and each corner's position, normal
// and colour index in the static context of its count.
TEST(WriterLayoutTest, BaseMeshFieldsAndContexts) {
    const sceneS scene = twoNodeScene();
    const geometryS& mesh = scene.geometries[0];
    const std::vector<uint8_t> bytes = writeU3dMemory(scene);
    const auto blocks = framedBlocks(bytes, 0, bytes.size());
    bitReaderC r(blocks[8].data, {});
    EXPECT_EQ(r.readString(), "grid");
    EXPECT_EQ(r.readU32(), 0u);
    const uint32_t faces = r.readU32(), positions = r.readU32(), normals = r.readU32(), colors = r.readU32();
    EXPECT_EQ(faces, 8u);
    EXPECT_EQ(positions, 9u);
    EXPECT_EQ(normals, 9u);
    EXPECT_EQ(colors, 9u);
    EXPECT_EQ(r.readU32(), 0u);
    EXPECT_EQ(r.readU32(), 0u);
    for (const vec3f& p : mesh.positions)
        EXPECT_TRUE(r.readF32() == p.x && r.readF32() == p.y && r.readF32() == p.z);
    for (const vec3f& n : mesh.normals)
        EXPECT_TRUE(r.readF32() == n.x && r.readF32() == n.y && r.readF32() == n.z);
    for (const color4f& c : mesh.diffuseColors)
        EXPECT_TRUE(r.readF32() == c.r && r.readF32() == c.g && r.readF32() == c.b && r.readF32() == c.a);
    for (uint32_t f = 0; f < faces; ++f) {
        EXPECT_EQ(r.readCompressedU32(ctx::kShadingId), mesh.shadingIds[f]);
        for (uint32_t k = 3 * f; k < 3 * f + 3; ++k) {
            EXPECT_EQ(r.readCompressedU32(staticContext(positions)), mesh.positionIndices[k]);
            EXPECT_EQ(r.readCompressedU32(staticContext(normals)), mesh.normalIndices[k]);
            EXPECT_EQ(r.readCompressedU32(staticContext(colors)), mesh.diffuseIndices[k]);
        }
    }
}

// Indices into 16383 values or more are four bytes either way: a file
// made of them is written in the no-compression profile, plain values
// throughout; one that the coder shrinks is coded.
TEST(WriterLayoutTest, MeshesOfLargeIndicesAreWrittenPlainOthersCoded) {
    for (unsigned n : {20u, 130u}) {
        SCOPED_TRACE(n);
        const sceneS scene = sceneOf(gridMesh("grid", n, false, true));
        const geometryS& mesh = scene.geometries[0];
        const bool plain = mesh.positions.size() >= 0x3FFF;
        const std::vector<uint8_t> bytes = writeU3dMemory(scene);
        const auto blocks = framedBlocks(bytes, 0, bytes.size());
        bitReaderC header(blocks[0].data, {});
        header.readU32();
        EXPECT_EQ(header.readU32(), plain ? 4u : 0u);

        const parsedBlockS& base = blocks.back();
        ASSERT_EQ(base.type, kClodBaseMeshContinuationBlock);
        bitReaderC r(base.data, {});
        r.setNoCompression(plain);
        r.readString();
        for (int i = 0; i < 7; ++i)
            r.readU32();
        for (std::size_t i = 0; i < 3 * (mesh.positions.size() + mesh.normals.size()); ++i)
            r.readF32();
        const uint32_t count = staticContext(uint32_t(mesh.positions.size()));
        for (std::size_t f = 0; f < mesh.primitiveCount(); ++f) {
            ASSERT_EQ(r.readCompressedU32(ctx::kShadingId), mesh.shadingIds[f]);
            for (std::size_t k = 3 * f; k < 3 * f + 3; ++k) {
                ASSERT_EQ(r.readCompressedU32(count), mesh.positionIndices[k]);
                ASSERT_EQ(r.readCompressedU32(count), mesh.normalIndices[k]);
            }
        }
        // Plain: every index four bytes; coded: far fewer.
        const std::size_t indexBytes = 28 * mesh.primitiveCount();
        const std::size_t valueBytes = 12 * (mesh.positions.size() + mesh.normals.size());
        if (plain)
            EXPECT_GE(base.data.size(), valueBytes + indexBytes);
        else
            EXPECT_LT(base.data.size(), valueBytes + indexBytes / 2);
    }
}

}  // namespace
