// Every scene of the public U3D reference library decodes to the counts and
// boxes that the library's own loader reports (tests/data/scenes/EXPECTED.tsv).
#include "u3d/bitReader.h"
#include "u3d/blockTypes.h"
#include "u3d/reader.h"
#include "u3dTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace u3d;
namespace fs = std::filesystem;

const fs::path kScenes = fs::path(U3DPDF_TEST_DATA_DIR) / "scenes";

struct expectedS {
    std::string kind;  // MESH, LINESET, POINTSET or WORLD
    std::string name;
    uint64_t count = 0;  // positions; WORLD: model instances
    uint64_t primitives = 0;
    std::array<double, 6> box{};
};

// The rows of EXPECTED.tsv by file, in their order.
std::map<std::string, std::vector<expectedS>> expectedRows() {
    std::ifstream in(kScenes / "EXPECTED.tsv");
    std::map<std::string, std::vector<expectedS>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> cells;
        std::stringstream fields(line);
        for (std::string cell; std::getline(fields, cell, '\t');)
            cells.push_back(cell);
        if (cells.size() != 11) {
            ADD_FAILURE() << "row of " << cells.size() << " cells: " << line;
            continue;
        }
        expectedS row;
        row.kind = cells[1];
        row.name = cells[2];
        row.count = std::stoull(cells[3]);
        row.primitives = cells[4].empty() ? 0 : std::stoull(cells[4]);
        for (int i = 0; i < 6; ++i)
            row.box[i] = std::stod(cells[5 + i]);
        rows[cells[0]].push_back(row);
    }
    return rows;
}

// Within 1e-4 of the box's largest extent (the files' position
// quantisation), and never closer than 1e-6.
void expectBox(const boxS& box, const std::array<double, 6>& expected) {
    ASSERT_FALSE(box.empty);
    double extent = 0;
    for (int i = 0; i < 3; ++i)
        extent = std::max(extent, expected[3 + i] - expected[i]);
    const double tolerance = std::max(1e-4 * extent, 1e-6);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(box.min[i], expected[i], tolerance) << "min axis " << i;
        EXPECT_NEAR(box.max[i], expected[3 + i], tolerance) << "max axis " << i;
    }
}

const char* kindName(geometryKindE kind) {
    return kind == geometryKindE::mesh ? "MESH" : kind == geometryKindE::lineSet ? "LINESET" : "POINTSET";
}

TEST(U3dReaderScenesTest, EveryResourceAndTheWorldBoxAgreeWithTheReferenceLoader) {
    const auto rows = expectedRows();
    ASSERT_EQ(rows.size(), 54u);
    for (const auto& [file, expected] : rows) {
        SCOPED_TRACE(file);
        const u3dFileS read = readU3dFile((kScenes / file).string());
        EXPECT_TRUE(read.summary.faults.empty());
        std::size_t resources = 0;
        for (const expectedS& row : expected) {
            SCOPED_TRACE(row.kind + " " + row.name);
            if (row.kind == "WORLD") {
                EXPECT_EQ(read.summary.modelInstanceCount, row.count);
                expectBox(read.summary.worldBox, row.box);
                continue;
            }
            ++resources;
            const geometryS* geometry = read.scene.findGeometry(row.name);
            ASSERT_NE(geometry, nullptr);
            EXPECT_EQ(kindName(geometry->kind), row.kind);
            EXPECT_EQ(geometry->positions.size(), row.count);
            EXPECT_EQ(geometry->primitiveCount(), row.primitives);
            expectBox(geometry->bounds(), row.box);
        }
        EXPECT_EQ(read.scene.geometries.size(), resources);
    }
}

}  // namespace

namespace {

// The units scale factor is the file's to report: boxes stay in the file's
// own units. A model under two parents (one a view) stands twice.
TEST(U3dReaderScenesTest, UnitsScaleIsReportedNotApplied) {
    std::vector<u3dtest::bytesT> blocks = {
        u3dtest::chain("V", 0, {u3dtest::node(kViewNodeBlock, "V", {{"", {10, 0, 0}}}, "View")})};
    const std::vector<u3dtest::bytesT> model = u3dtest::triangleModel("M", {{"V", {0, 0, 5}}, {"", {0, 0, 0}}});
    blocks.insert(blocks.end(), model.begin(), model.end());
    const u3dFileS read = readU3dMemory(u3dtest::file(blocks, 0.0254));
    EXPECT_TRUE(read.summary.hasUnitsScale);
    EXPECT_EQ(read.summary.unitsScale, 0.0254);
    EXPECT_EQ(read.scene.unitsScale, 0.0254);
    EXPECT_EQ(read.summary.modelInstanceCount, 2u);
    expectBox(read.summary.worldBox, {0, 0, 0, 11, 2, 5});
}

// What every geometry of the scenes decodes to, value for value: a hash of
// its content per resource (tests/data/scenes/DECODED.tsv). Faster decoding
// must not change a single value, and neither must reading each block in
// the smallest windows (as blocks of a large mesh are read): the windows
// then end at every kind of place in the coded data.
TEST(U3dReaderScenesTest, EveryResourceDecodesToTheRecordedContent) {
    std::ifstream in(kScenes / "DECODED.tsv");
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::stringstream fields(line);
        std::string file, name, hash;
        std::getline(fields, file, '\t');
        std::getline(fields, name, '\t');
        std::getline(fields, hash, '\t');
        for (const std::size_t window : {readOptionsS{}.blockWindow, bitReaderC::kMinWindow}) {
            SCOPED_TRACE(file + " " + name + ", block window " + std::to_string(window));
            readOptionsS options;
            options.blockWindow = window;
            const u3dFileS read = readU3dFile((kScenes / file).string(), options);
            const geometryS* geometry = read.scene.findGeometry(name);
            ASSERT_NE(geometry, nullptr);
            EXPECT_EQ(u3dtest::contentHash(*geometry), std::stoull(hash, nullptr, 16))
                << std::hex << "content hash 0x" << u3dtest::contentHash(*geometry);
        }
        ++rows;
    }
    EXPECT_EQ(rows, 64);
}

// A million faces whose every position arrives in resolution updates, 4096
// per block. The sanitizer builds run ten times slower and read only the
// first blocks, which take every path of the decoding (each block starts
// its contexts afresh, and the first one already halves their histograms
// and grows every array); the other builds read the whole file as well.
const std::string kTorus = std::string(U3DPDF_TEST_DATA_DIR) + "/large/torus_1m.u3d";

// The content hashes were recorded with the reader before its decoding was
// made faster (main at 158079c).
TEST(U3dReaderScenesTest, TheFirstBlocksOfAMillionFaceProgressiveTorus) {
    const u3dtest::bytesT cut =
        u3dtest::cutAfter(u3dtest::readBytes(kTorus), kClodProgressiveMeshContinuationBlock, 6);
    const u3dFileS read = readU3dMemory(cut);
    EXPECT_TRUE(read.summary.faults.empty());
    ASSERT_EQ(read.scene.geometries.size(), 1u);
    const geometryS& torus = read.scene.geometries[0];
    EXPECT_EQ(torus.positions.size(), 6 * 4096u);
    EXPECT_EQ(u3dtest::contentHash(torus), 0xf1fa39d31ccb3a91u) << std::hex << "content hash 0x"
                                                          << u3dtest::contentHash(torus);
}

TEST(U3dReaderScenesTest, AMillionFaceProgressiveTorus) {
#if U3DPDF_SANITIZE
    GTEST_SKIP() << "the first blocks only under the sanitizers (TheFirstBlocksOfAMillionFaceProgressiveTorus)";
#endif
    const u3dFileS read = readU3dFile(kTorus);
    EXPECT_TRUE(read.summary.faults.empty());
    ASSERT_EQ(read.scene.geometries.size(), 1u);
    const geometryS& torus = read.scene.geometries[0];
    EXPECT_EQ(torus.positions.size(), 500000u);
    EXPECT_EQ(torus.primitiveCount(), 1000000u);
    EXPECT_EQ(read.summary.blockCounts.at(kClodProgressiveMeshContinuationBlock), 123u);
    EXPECT_EQ(read.summary.modelInstanceCount, 1u);
    expectBox(read.summary.worldBox, {-7, -7, -2, 7, 7, 2});
    EXPECT_EQ(u3dtest::contentHash(torus), 0x3062bfa7cc1b8b7cu) << std::hex << "content hash 0x"
                                                          << u3dtest::contentHash(torus);
}

}  // namespace
