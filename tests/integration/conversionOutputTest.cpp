// Whole conversions through the loaded module: the PDF it writes must be the
// file the writer's layout gives, byte for byte, and a valid PDF to qpdf.
#include "expectedPdf.h"
#include "metatree/metaTree.h"
#include "moduleHost.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

struct conversionCaseS {
    const char* model;
    boxS box;
    cameraTextS camera;  // empty: computed from the box
};

// The two boxes whose written camera the design documents give verbatim.
const conversionCaseS kCases[] = {
    {"box.u3d",
     {{0, 0, 0}, {1, 1, 1}},
     {"-0.70711 0 0.70711 -0.35355 0.86603 -0.35355 -0.61237 -0.5 -0.61237 1.90919 1.55885 1.90919", "3.11769"}},
    {"sphere_shading.u3d",
     {{-1, -2, -3}, {1, 2, 3}},
     {"-0.70711 0 0.70711 -0.35355 0.86603 -0.35355 -0.61237 -0.5 -0.61237 8.24864 6.73498 8.24864", "13.46997"}},
    {"torus.u3d", {{0, 0, 0}, {10000, 10000, 10000}}, {}},
    {"torus.u3d", {{2.5, -7, 0.25}, {4, 3.5, 0.75}}, {}},
};

// The data of object 8, as its Length says; empty when the file does not
// have that shape.
std::string streamData(const std::string& pdf) {
    const size_t object = pdf.find("8 0 obj\r\n");
    const size_t length = pdf.find("/Length ", object);
    const size_t data = pdf.find("\r\nstream\r\n", object);
    if (object == std::string::npos || length == std::string::npos || data == std::string::npos)
        return {};
    const size_t n = std::strtoul(pdf.c_str() + length + 8, nullptr, 10);
    return pdf.substr(data + 10, n);
}

// The data of a complete zlib stream that uses every byte; "<bad>" otherwise.
std::string inflateAll(const std::string& compressed, size_t expectedSize) {
    std::string out(expectedSize + 1, '\0');
    uLongf outLength = out.size();
    uLong inLength = compressed.size();
    const int rc = uncompress2(reinterpret_cast<Bytef*>(out.data()), &outLength,
                               reinterpret_cast<const Bytef*>(compressed.data()), &inLength);
    if (rc != Z_OK || inLength != compressed.size())
        return "<bad>";
    return out.substr(0, outLength);
}

// Offset of the first difference, or -1: a readable failure for a file of
// tens of kilobytes.
long firstDifference(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return static_cast<long>(i);
    return a.size() == b.size() ? -1 : static_cast<long>(n);
}

// Each offset in the file's cross-reference table must point at its object.
void expectXrefPointsAtObjects(const std::string& pdf, const layoutS& layout) {
    const size_t xref = pdf.rfind("xref\r\n0 9\r\n");
    ASSERT_EQ(static_cast<long>(xref), layout.xref);
    ASSERT_NE(pdf.find("startxref\r\n" + std::to_string(layout.xref) + "\r\n%%EOF\r\n"), std::string::npos);
    for (int id = 1; id <= 8; ++id) {
        const long offset = std::strtol(pdf.c_str() + xref + 11 + 20 * id, nullptr, 10);
        EXPECT_EQ(offset, layout.objects[id]) << "object " << id;
        const std::string frame = std::to_string(id) + " 0 obj\r\n";
        EXPECT_EQ(pdf.compare(static_cast<size_t>(offset), frame.size(), frame), 0) << "object " << id;
    }
}

TEST(ConversionOutputTest, LayoutOfTheFixedPartMatchesTheWriter) {
    // The builder itself against the offsets of the file layout: objects 1
    // to 7 always start at the same places.
    const long offsets[8] = {0, 16, 71, 136, 234, 385, 472, 493};
    const layoutS layout = expectedLayout(kCases[0].camera, 100);
    for (int id = 1; id <= 7; ++id)
        EXPECT_EQ(layout.objects[id], offsets[id]) << id;
    EXPECT_EQ(cameraText(kCases[0].box).c2w, kCases[0].camera.c2w);
    EXPECT_EQ(cameraText(kCases[1].box).co, kCases[1].camera.co);
}

TEST(ConversionOutputTest, WritesTheExpectedPdfForEachModel) {
    loadedModuleS module;
    ASSERT_NE(module.convertMetaTree, nullptr);
    scratchDirS dir("output");

    for (const conversionCaseS& c : kCases) {
        SCOPED_TRACE(std::string(c.model) + " co " + cameraText(c.box).co);
        const fs::path u3d = dir / "model.tmp.u3d";
        const fs::path pdf = dir / "model.pdf";
        fs::remove(pdf);
        fs::copy_file(testData(c.model), u3d);
        const std::string model = readFile(u3d);

        auto request = conversionRequest(pdf, u3d, c.box);
        ASSERT_EQ(module.convertMetaTree(request.get(), 0), 1);
        EXPECT_EQ(customData(request.get()), "CUSTOMDATA(ENTRIES)") << "success adds no entry";
        EXPECT_FALSE(fs::exists(u3d)) << "the temporary model is deleted on success";
        EXPECT_EQ(directoryListing(dir.path), "model.pdf");

        const std::string written = readFile(pdf);
        const std::string compressed = streamData(written);
        const cameraTextS camera = c.camera.c2w.empty() ? cameraText(c.box) : c.camera;
        const std::string expected = expectedPdf(camera, compressed);
        EXPECT_EQ(written.size(), expected.size());
        EXPECT_EQ(firstDifference(written, expected), -1)
            << written.substr(0, 2048) << "\n--- expected ---\n" << expected.substr(0, 2048);
        EXPECT_EQ(inflateAll(compressed, model.size()), model);
        expectXrefPointsAtObjects(written, expectedLayout(camera, compressed.size()));

        if (qpdfAvailable()) {
            const commandResultS check = runQpdf({"--check", buildMachinePath(pdf)});
            EXPECT_EQ(check.status, 0) << check.output;
            const commandResultS stream =
                runQpdf({"--show-object=8", "--filtered-stream-data", buildMachinePath(pdf)});
            EXPECT_EQ(stream.status, 0);
            EXPECT_TRUE(stream.output == model) << "qpdf extracted " << stream.output.size() << " bytes";
        }
    }
    U3DPDF_SKIP_WITHOUT_QPDF();
}

TEST(ConversionOutputTest, CenterViewMovesOnlyTheCameraToTheBoxCentre) {
    loadedModuleS module;
    scratchDirS dir("centred");
    // A part away from the origin, as most CAD parts are: centre (102, -18,
    // 9), diagonal sqrt(96), so the default camera stands (10.8, 8.81816,
    // 10.8) from the point it orbits and 17.63633 away.
    const boxS box = {{100, -20, 5}, {104, -16, 13}};
    const char* const entries[] = {nullptr, "On", "TRUE", "1"};
    std::string written[4];
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(entries[i] ? entries[i] : "no entry");
        const fs::path u3d = dir / "model.tmp.u3d";
        const fs::path pdf = dir / "model.pdf";
        fs::remove(pdf);
        fs::copy_file(testData("box.u3d"), u3d);
        auto request = conversionRequest(pdf, u3d, box);
        // An "Off" before the one that counts changes nothing.
        addCustomEntry(request.get(), "CenterView", "Off");
        if (entries[i])
            addCustomEntry(request.get(), "centerView", entries[i]);
        const std::string before = customData(request.get());
        ASSERT_EQ(module.convertMetaTree(request.get(), 0), 1);
        EXPECT_EQ(customData(request.get()), before);
        written[i] = readFile(pdf);
        EXPECT_EQ(runQpdf({"--check", buildMachinePath(pdf)}).status, 0);
    }
    const std::string compressed = streamData(written[0]);
    const cameraTextS centred = centredCameraText(box);
    EXPECT_EQ(cameraText(box).c2w.substr(0, 68) + "112.8 -9.18184 19.8", centred.c2w);
    EXPECT_EQ(centred.co, "17.63633");
    // Byte for byte the file of the default camera, and that of the centred
    // one: the two differ in the last three C2W numbers and in the offsets
    // those shift, nothing else.
    EXPECT_EQ(firstDifference(written[0], expectedPdf(cameraText(box), compressed)), -1);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(streamData(written[i]), compressed);
        EXPECT_EQ(firstDifference(written[i], expectedPdf(centred, compressed)), -1) << entries[i];
        expectXrefPointsAtObjects(written[i], expectedLayout(centred, compressed.size()));
    }
}

}  // namespace
