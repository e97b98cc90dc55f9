// u3dpdf convert: real models in, PDFs out, and the user's model never
// touched, whatever the outcome.
#include "integration/expectedPdf.h"
#include "cliRunner.h"
#include "u3d/reader.h"
#include "u3d/writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct convertCaseS {
    const char* model;
    std::vector<std::string> bbox;  // empty: the default box
    boxS box;                       // what the camera must be placed for
};

std::vector<std::string> convertArgs(const fs::path& model, const fs::path& out, const std::vector<std::string>& bbox,
                                     bool center = false) {
    std::vector<std::string> args = {"convert", model, "-o", out};
    if (!bbox.empty()) {
        args.push_back("--bbox");
        args.insert(args.end(), bbox.begin(), bbox.end());
    }
    if (center)
        args.push_back("--center");
    return args;
}

TEST(CliConvertTest, RealModelsBecomePdfsThatEmbedThemAndTheModelStays) {
    const convertCaseS cases[] = {
        {"box.u3d", {"0", "0", "0", "1", "1", "1"}, {{0, 0, 0}, {1, 1, 1}}},
        {"sphere_shading.u3d", {"-1", "-2", "-3", "1", "2", "3"}, {{-1, -2, -3}, {1, 2, 3}}},
        {"torus.u3d", {"-4", "-4", "-1", "4", "4", "1"}, {{-4, -4, -1}, {4, 4, 1}}},
        // Without --bbox: the box the reader measures.
        {"torus.u3d", {}, {{-4, -4, -1}, {4, 4, 1}}},
    };
    for (const convertCaseS& c : cases) {
        SCOPED_TRACE(c.model);
        scratchDirS dir("convert");
        fs::create_directory(dir / "tmp");
        const fs::path model = dir / "model.u3d";
        fs::copy_file(testData(c.model), model);
        const fs::file_time_type modified = fs::last_write_time(model);

        const cliResultS run = runCliWith({convertArgs(model, dir / "out.pdf", c.bbox), {}, dir / "tmp", {}});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out + run.err, "");
        if (qpdfAvailable()) {
            ASSERT_TRUE(qpdfAccepts(dir / "out.pdf"));
            EXPECT_TRUE(embeddedModel(dir / "out.pdf") == readFile(testData(c.model)));
        }
        // The box reached the module: the camera stands where it places it.
        EXPECT_NE(readFile(dir / "out.pdf").find("/CO " + cameraText(c.box).co + "\r\n"), std::string::npos);
        EXPECT_TRUE(readFile(model) == readFile(testData(c.model)));
        EXPECT_EQ(fs::last_write_time(model), modified);
        // The module consumed the copy it was given.
        EXPECT_EQ(directoryListing(dir / "tmp"), "");
    }
    U3DPDF_SKIP_WITHOUT_QPDF();
}

// Without --bbox, convert measures the model's world box and aims the view
// at it: the same PDF, byte for byte, as --bbox with that box and --center.
TEST(CliConvertTest, WithoutBboxTheMeasuredBoxIsCentredAsWithBboxAndCenter) {
    scratchDirS dir("convertmeasured");
    fs::create_directory(dir / "tmp");
    for (const char* sample : {"torus.u3d", "scenes/ColorChannels.u3d", "scenes/lineset.u3d", "scenes/mp_box.u3d"}) {
        SCOPED_TRACE(sample);
        const fs::path model = dir / "model.u3d";
        fs::copy_file(testData(sample), model, fs::copy_options::overwrite_existing);
        const u3d::boxS box = u3d::readU3dFile(model.string()).summary.worldBox;
        ASSERT_FALSE(box.empty);
        std::vector<std::string> bbox;
        for (const auto* corner : {&box.min, &box.max})
            for (double v : *corner) {
                char text[40];
                std::snprintf(text, sizeof text, "%.17g", v);
                bbox.push_back(text);
            }
        const cliResultS measured = runCliWith({convertArgs(model, dir / "measured.pdf", {}), {}, dir / "tmp", {}});
        EXPECT_EQ(measured.status, 0) << measured.err;
        EXPECT_EQ(measured.out + measured.err, "");
        const cliResultS given = runCliWith({convertArgs(model, dir / "given.pdf", bbox, true), {}, dir / "tmp", {}});
        EXPECT_EQ(given.status, 0) << given.err;
        EXPECT_TRUE(readFile(dir / "measured.pdf") == readFile(dir / "given.pdf"));
        const cameraTextS camera =
            centredCameraText({{box.min[0], box.min[1], box.min[2]}, {box.max[0], box.max[1], box.max[2]}});
        EXPECT_NE(readFile(dir / "measured.pdf").find("/C2W [" + camera.c2w + " ]\r\n/CO " + camera.co + "\r\n"),
                  std::string::npos);
    }

    // Only a group: no geometry to measure. The unit box, uncentred, and
    // one line that says so.
    u3d::sceneS empty;
    u3d::nodeS rig;
    rig.name = "rig";
    rig.kind = u3d::nodeKindE::group;
    rig.parents.push_back({"", u3d::matrix4d()});
    empty.nodes.push_back(rig);
    u3d::writeU3dFile(empty, (dir / "empty.u3d").string());
    const cliResultS run = runCliWith({convertArgs(dir / "empty.u3d", dir / "empty.pdf", {}), {}, dir / "tmp", {}});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(oneErrorLine(run.err)) << run.err;
    EXPECT_NE(run.err.find("unit box 0 0 0 1 1 1"), std::string::npos) << run.err;
    EXPECT_NE(readFile(dir / "empty.pdf").find("/CO " + cameraText({{0, 0, 0}, {1, 1, 1}}).co + "\r\n"),
              std::string::npos);
    EXPECT_EQ(directoryListing(dir / "tmp"), "");
}

TEST(CliConvertTest, FailedConversionsExitOneAndLeaveNothingBehind) {
    scratchDirS dir("convertfail");
    fs::create_directory(dir / "tmp");
    const fs::path model = dir / "model.u3d";
    fs::copy_file(testData("box.u3d"), model);
    writeFile(dir / "kept.pdf", "an earlier document");
    const std::string tooLarge =
        " (the default view's camera stands 1.8 diagonals away, and a PDF number cannot exceed 32767); "
        "export the model in a larger unit";
    const struct {
        fs::path out;
        std::vector<std::string> bbox;
        std::string reason;
    } failures[] = {
        // A diagonal beyond 32767 / 1.8: the camera distance cannot be written.
        {dir / "large.pdf", {"0", "0", "0", "20000", "0", "0"},
         "the bounding box is too large: its diagonal 20000 exceeds 18203.89" + tooLarge},
        {dir / "missing" / "out.pdf", {},
         "cannot write " + (dir / "missing" / "out.pdf").string() + ": the directory " +
             (dir / "missing").string() + " does not exist"},
        {dir / "kept.pdf", {"0", "0", "0", "18204", "0", "0"},
         "the bounding box is too large: its diagonal 18204 exceeds 18203.89" + tooLarge},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.out);
        const cliResultS run = runCliWith({convertArgs(model, failure.out, failure.bbox), {}, dir / "tmp", {}});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "u3dpdf: the module could not convert " + model.string() + " to " + failure.out.string() +
                               ": " + failure.reason + "\n");
        EXPECT_EQ(directoryListing(dir.path), "kept.pdf model.u3d tmp");
        EXPECT_EQ(directoryListing(dir / "tmp"), "");
    }
    EXPECT_EQ(readFile(dir / "kept.pdf"), "an earlier document");
    EXPECT_TRUE(readFile(model) == readFile(testData("box.u3d")));
}

TEST(CliConvertTest, CenterAimsTheViewAtTheBoxCentre) {
    scratchDirS dir("convertcenter");
    fs::create_directory(dir / "tmp");
    const fs::path model = dir / "model.u3d";
    fs::copy_file(testData("box.u3d"), model);
    const std::vector<std::string> bbox = {"100", "-20", "5", "104", "-16", "13"};
    const cliResultS run = runCliWith({convertArgs(model, dir / "out.pdf", bbox, true), {}, dir / "tmp", {}});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    if (qpdfAvailable()) {
        EXPECT_TRUE(qpdfAccepts(dir / "out.pdf"));
    }
    const std::string pdf = readFile(dir / "out.pdf");
    const cameraTextS camera = centredCameraText({{100, -20, 5}, {104, -16, 13}});
    EXPECT_NE(pdf.find("/C2W [" + camera.c2w + " ]\r\n/CO " + camera.co + "\r\n"), std::string::npos);

    // Centred far from the origin, the camera cannot be written; without
    // --center the same box converts.
    const std::vector<std::string> far = {"40000", "0", "0", "40001", "1", "1"};
    const cliResultS failed = runCliWith({convertArgs(model, dir / "far.pdf", far, true), {}, dir / "tmp", {}});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "u3dpdf: the module could not convert " + model.string() + " to " +
                              (dir / "far.pdf").string() +
                              ": the bounding box lies too far from the origin for CenterView (the camera would "
                              "stand beyond 32767, and a PDF number cannot exceed that); leave CenterView off\n");
    EXPECT_EQ(runCliWith({convertArgs(model, dir / "far.pdf", far), {}, dir / "tmp", {}}).status, 0);
    EXPECT_EQ(directoryListing(dir / "tmp"), "");
}

TEST(CliConvertTest, InputThatCannotBeConvertedIsRefusedBeforeTheModule) {
    scratchDirS dir("convertinput");
    fs::create_directory(dir / "tmp");
    fs::copy_file(testData("box.u3d"), dir / "model.u3d");
    const std::vector<std::string> refused[] = {
        // The output would overwrite the model, however it is spelled.
        {"convert", "model.u3d", "-o", "./model.u3d"},
        {"convert", "absent.u3d", "-o", "out.pdf"},
        {"convert", "tmp", "-o", "out.pdf"},
    };
    for (const std::vector<std::string>& args : refused) {
        SCOPED_TRACE(args[1] + " -o " + args[3]);
        const cliResultS run = runCliWith({args, dir.path, dir / "tmp", {}});
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(oneErrorLine(run.err)) << run.err;
        EXPECT_EQ(directoryListing(dir.path), "model.u3d tmp");
        EXPECT_EQ(directoryListing(dir / "tmp"), "");
    }
    EXPECT_TRUE(readFile(dir / "model.u3d") == readFile(testData("box.u3d")));
}

}  // namespace
