// u3dpdf info, and the U3D check that convert and request make before the
// module sees a model: bad input exits 2 with one line and leaves nothing.
#include "../../u3d/u3dTestFiles.h"
#include "cliRunner.h"
#include "u3d/blockTypes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace u3dtest;

const fs::path kScenes = fs::path(U3DPDF_TEST_DATA_DIR) / "scenes";

void writeBytes(const fs::path& path, const bytesT& bytes) { writeFile(path, std::string(bytes.begin(), bytes.end())); }

TEST(CliInfoTest, DescribesWhatTheFileHolds) {
    const cliResultS run = runCliWith({{"info", "mp_box.u3d"}, kScenes, {}, {}});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "file: mp_box.u3d\n"
              "size: 1368 bytes, declared 1368\n"
              "version: 0.0, profile 0x00000000, character encoding 106, declaration size 36\n"
              "units scale: none\n"
              "blocks: 17\n"
              "  0x00443355 file header: 1\n"
              "  0xFFFFFF14 modifier chain: 4\n"
              "  0xFFFFFF15 priority update: 2\n"
              "  0xFFFFFF22 model node: 1\n"
              "  0xFFFFFF23 light node: 1\n"
              "  0xFFFFFF24 view node: 1\n"
              "  0xFFFFFF31 CLOD mesh declaration: 1\n"
              "  0xFFFFFF3C CLOD progressive mesh continuation: 1\n"
              "  0xFFFFFF45 shading modifier: 1\n"
              "  0xFFFFFF51 light resource: 1\n"
              "  0xFFFFFF52 view resource: 1\n"
              "  0xFFFFFF53 lit texture shader: 1\n"
              "  0xFFFFFF54 material resource: 1\n"
              "nodes: 3\n"
              "  view \"DefaultView\", parents: <world>, resource \"SceneViewResource\"\n"
              "  model \"Box01\", parents: <world> <world>, resource \"LightBoxModel\"\n"
              "  light \"Omni01\", parents: <world>, resource \"DefaultPointLight\"\n"
              "resources: 1\n"
              "  mesh \"LightBoxModel\": 8 positions, 12 faces, box -20.0000134 -20.0000134 0 20.0000134 20.0000134 "
              "40.0000267\n"
              "shaders: 1, materials: 1\n"
              "file references: 0 (not followed)\n"
              "model instances: 2\n"
              "world box: -23.3365815 -43.0025845 0 50.0000134 50.0000134 70.0000267\n");
}

TEST(CliInfoTest, JsonForScriptsWithFileReferencesReportedNotFollowed) {
    const cliResultS run = runCliWith({{"info", "file_ref.u3d", "--json"}, kScenes, {}, {}});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.rfind("{\n  \"file\": \"file_ref.u3d\",\n  \"fileSize\": 1364,\n  \"declaredFileSize\": 1364,\n", 0), 0u)
        << run.out;
    for (const char* line : {
             "    {\"type\": \"0xFFFFFF12\", \"name\": \"file reference\", \"count\": 1},\n",
             "    {\"kind\": \"model\", \"name\": \"Box01\", \"parents\": [\"\"], \"resource\": \"Box01\"},\n",
             "  \"fileReferences\": [\n    {\"scope\": \"BoxGroup\", \"offset\": 1012, \"urls\": [\"box_ta.u3d\", "
             "\"box_la.u3d\"]}\n  ],\n",
             "  \"modelInstances\": 1,\n",
         })
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
    EXPECT_EQ(run.out.substr(run.out.size() - 2), "}\n");

    // Names that are no text stay valid JSON.
    scratchDirS dir("infojson");
    writeBytes(dir / "odd.u3d", file({chain("G", 0, {node(u3d::kGroupNodeBlock, "q\"\x01\xff", {{"", {}}})})}));
    const cliResultS odd = runCli({"info", (dir / "odd.u3d").string(), "--json"});
    EXPECT_EQ(odd.status, 0);
    EXPECT_NE(odd.out.find("\"name\": \"q\\\"\\u0001\\u00FF\""), std::string::npos) << odd.out;
}

struct badModelS {
    const char* name;
    bytesT bytes;
    const char* fault;  // what the line says after "u3dpdf: PATH: "
};

std::vector<badModelS> badModels() {
    const bytesT box = readBytes((kScenes / "box.u3d").string());
    bytesT pastEnd = box;
    const uint32_t huge = 0xFFFFFFF0;
    std::memcpy(pastEnd.data() + 52 + 4, &huge, 4);
    const std::string stl = "solid part\n  facet normal 0 0 1\n";
    std::vector<badModelS> models = {
        {"stl", bytesT(stl.begin(), stl.end()),
         "block 0x696C6F73 at offset 0: not a U3D file: it does not begin with a file header block (type 0x00443355)"},
        {"cut at a block", bytesT(box.begin(), box.begin() + 52),
         "block 0x00443355 (file header) at offset 0: the file header declares 1276 bytes, the file has 52: it is "
         "truncated"},
        {"cut in a block", bytesT(box.begin(), box.begin() + 1000),
         "block 0x00443355 (file header) at offset 0: the file header declares 1276 bytes, the file has 1000: it is "
         "truncated"},
        {"size past the end", pastEnd,
         "block 0xFFFFFF14 (modifier chain) at offset 52: data size 4294967280 and metadata size 0 run past the end of "
         "the file (1224 bytes left)"},
        {"count past the chain", file({chain("C", 0, {node(u3d::kGroupNodeBlock, "G", {})}, 0xFFFFFFFF)}),
         "block 0xFFFFFF14 (modifier chain) at offset 36: the modifier chain claims 4294967295 blocks and holds 1"},
    };
    return models;
}

TEST(CliInfoTest, BadModelsExitTwoWithOneLineThroughEveryCommand) {
    scratchDirS dir("badmodels");
    fs::create_directory(dir / "tmp");
    for (const badModelS& bad : badModels()) {
        SCOPED_TRACE(bad.name);
        writeBytes(dir / "model.u3d", bad.bytes);
        const std::string line = "u3dpdf: model.u3d: " + std::string(bad.fault) + "\n";

        const cliResultS info = runCliWith({{"info", "model.u3d"}, dir.path, {}, {}});
        EXPECT_EQ(info.status, 2);
        EXPECT_EQ(info.out, "");
        EXPECT_EQ(info.err, line);

        const cliResultS convert = runCliWith({{"convert", "model.u3d", "-o", "out.pdf"}, dir.path, dir / "tmp", {}});
        EXPECT_EQ(convert.status, 2);
        EXPECT_EQ(convert.err, line);
        EXPECT_EQ(directoryListing(dir.path), "model.u3d tmp");
        EXPECT_EQ(directoryListing(dir / "tmp"), "");

        writeFile(dir / "request.txt", "REQUEST{OUTPUTLOCATION{\"out.pdf\"},INPUTDATA{MODEL{FILENAME{\"model.u3d\"},"
                                       "U3DBOXMIN{0,0,0},U3DBOXMAX{1,1,1}}}}");
        const cliResultS request = runCliWith({{"request", "request.txt"}, dir.path, {}, {}});
        EXPECT_EQ(request.status, 2);
        EXPECT_EQ(request.err, line);
        EXPECT_EQ(directoryListing(dir.path), "model.u3d request.txt tmp");
        fs::remove(dir / "request.txt");
    }
}

// Content that does not decode fails info, but a model whose blocks are
// sound is still embedded: viewers may show what the reader cannot.
TEST(CliInfoTest, ContentFaultsFailInfoAndWarnInConvert) {
    scratchDirS dir("contentfault");
    fs::create_directory(dir / "tmp");
    std::vector<bytesT> blocks = {chain("A", 0, {node(u3d::kGroupNodeBlock, "A", {{"B", {}}})}),
                                  chain("B", 0, {node(u3d::kGroupNodeBlock, "B", {{"A", {}}})})};
    const std::vector<bytesT> model = triangleModel("M", {{"A", {}}});
    blocks.insert(blocks.end(), model.begin(), model.end());
    const bytesT cycle = file(blocks);
    writeBytes(dir / "model.u3d", cycle);

    const cliResultS info = runCliWith({{"info", "model.u3d"}, dir.path, {}, {}});
    EXPECT_EQ(info.status, 2);
    EXPECT_EQ(info.err, "u3dpdf: model.u3d: block 0xFFFFFF21 (group node) at offset 64: parent cycle through node \"A\"\n");

    const cliResultS convert =
        runCliWith({{"convert", "model.u3d", "-o", "out.pdf", "--bbox", "0", "0", "0", "1", "1", "1"}, dir.path, dir / "tmp", {}});
    EXPECT_EQ(convert.status, 0);
    EXPECT_EQ(convert.err, "u3dpdf: warning: model.u3d: block 0xFFFFFF21 (group node) at offset 64: parent cycle through "
                           "node \"A\"; it is embedded as it is, without a poster\n");
    ASSERT_TRUE(qpdfAccepts(dir / "out.pdf"));
    EXPECT_TRUE(embeddedModel(dir / "out.pdf") == std::string(cycle.begin(), cycle.end()));
}

}  // namespace
