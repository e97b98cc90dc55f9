// Models of other formats through the real u3dpdf and module: imported,
// written as U3D, converted; the PDF is sound, its 3D stream decodes to the
// model with assimp's own box, and the camera stands for that box. Bad
// input of every kind ends in one line, exit status 2 and nothing written.
#include "integration/expectedPdf.h"
#include "assimpReference.h"
#include "cliRunner.h"
#include "meshFiles.h"
#include "u3d/reader.h"
#include "u3d/sceneInstances.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace meshfiles;

// Every format of the issue, written by the tests.
std::vector<std::string> everyFormat(const scratchFolderC& folder) {
    const std::vector<triangleS> torusSoup = torus(12, 6, 4, 1);
    const objFilesS obj = objWithMaterials();
    const gltfFilesS gltf = gltfAssembly();
    folder.write("parts.mtl", obj.mtl);
    folder.write("assembly.bin", gltf.bin);
    const std::string gltfPath = folder.write("assembly.gltf", gltf.json);
    return {
        folder.write("binary.stl", binaryStl(torusSoup)),
        folder.write("ascii.stl", asciiStl(torusSoup, "torus")),
        folder.write("parts.obj", obj.obj),
        folder.write("points.obj", objPoints()),
        folder.write("colored.ply", coloredPly(true)),
        folder.write("points.ply", plyPoints()),
        folder.write("cube.off", offCube()),
        gltfPath,
        folder.write("assembly.glb", glbAssembly()),
        exportedByAssimp(gltfPath, "3mf", (folder.path() / "assembly.3mf").string()),
        exportedByAssimp(gltfPath, "collada", (folder.path() / "assembly.dae").string()),
    };
}

// The world box of a U3D file's geometry, as the reader places it.
u3d::boxS u3dBox(const std::string& bytes) {
    const u3d::u3dFileS file =
        u3d::readU3dMemory(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    return u3d::worldBox(file.scene, u3d::modelInstances(file.scene));
}

void expectAssimpsBox(const u3d::boxS& box, const std::string& path) {
    const assimpReferenceS reference = assimpReference(path);
    ASSERT_FALSE(box.empty);
    // assimp places vertices in float, the scene in double.
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(box.min[i], reference.min[i], 1e-5 * (1 + std::fabs(reference.min[i]))) << "axis " << i;
        EXPECT_NEAR(box.max[i], reference.max[i], 1e-5 * (1 + std::fabs(reference.max[i]))) << "axis " << i;
    }
}

TEST(CliImportTest, EveryFormatConvertsToAPdfWhoseModelHasAssimpsBox) {
    const scratchFolderC folder("cli_import");
    fs::create_directory(folder.path() / "tmp");
    for (const std::string& model : everyFormat(folder)) {
        SCOPED_TRACE(model);
        const fs::path pdf = folder.path() / "out.pdf";
        const cliResultS run = runCliWith({{"convert", model, "-o", pdf.string()}, {}, folder.path() / "tmp", {}});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out + run.err, "");
        ASSERT_TRUE(qpdfAccepts(pdf));
        const u3d::boxS box = u3dBox(embeddedModel(pdf));
        expectAssimpsBox(box, model);
        // The module got the measured box and aims the view at its centre.
        const cameraTextS camera = centredCameraText({{box.min[0], box.min[1], box.min[2]},
                                                      {box.max[0], box.max[1], box.max[2]}});
        EXPECT_NE(readFile(pdf).find("/C2W [" + camera.c2w + " ]"), std::string::npos);
        EXPECT_EQ(directoryListing(folder.path() / "tmp"), "");

        const fs::path u3dFile = folder.path() / "out.u3d";
        const cliResultS alone = runCliWith({{"u3d", model, "-o", u3dFile.string()}, {}, folder.path() / "tmp", {}});
        ASSERT_EQ(alone.status, 0) << alone.err;
        expectAssimpsBox(u3dBox(readFile(u3dFile)), model);
        fs::remove(pdf);
        fs::remove(u3dFile);
    }
}

TEST(CliImportTest, ScaleShrinksAModelTooLargeForTheViewAndTheMessageSaysSo) {
    const scratchFolderC folder("cli_scale");
    // A torus 20 000 units across.
    const std::string model = folder.write("large.stl", binaryStl(torus(24, 12, 8000, 2000)));
    const cliResultS refused = runCliWith({{"convert", model, "-o", (folder.path() / "large.pdf").string()}, {}, {}, {}});
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(oneErrorLine(refused.err)) << refused.err;
    EXPECT_NE(refused.err.find("box diagonal is 28565."), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--scale S, for example --scale 0.1"), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(folder.path() / "large.pdf"));

    const fs::path pdf = folder.path() / "scaled.pdf";
    const cliResultS run = runCliWith({{"convert", model, "-o", pdf.string(), "--scale", "0.1"}, {}, {}, {}});
    ASSERT_EQ(run.status, 0) << run.err;
    const u3d::boxS box = u3dBox(embeddedModel(pdf));
    EXPECT_NEAR(box.max[0], 1000, 1e-3);
    EXPECT_NEAR(box.min[1], -1000, 1e-3);
    EXPECT_NEAR(box.max[2], 200, 1e-3);
}

TEST(CliImportTest, BadInputEndsInOneLineAndLeavesNothing) {
    const scratchFolderC folder("cli_bad");
    fs::create_directory(folder.path() / "tmp");
    std::string truncated = binaryStl(torus(4, 3, 4, 1));
    truncated.resize(truncated.size() - 60);
    std::vector<triangleS> flat = torus(4, 3, 4, 1);
    for (triangleS& t : flat)
        t.corners[2] = t.corners[1] = t.corners[0];
    const struct {
        const char* name;
        std::string bytes;
    } inputs[] = {
        {"empty.stl", ""},
        {"truncated.stl", truncated},
        {"range.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 9\n"},
        {"nan.stl", "solid x\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex nan 0 0\nvertex 0 1 0\n"
                    "endloop\nendfacet\nendsolid x\n"},
        {"infinite.obj", "v 0 0 0\nv 1e999 0 0\nv 0 1 0\nf 1 2 3\n"},
        {"flat.stl", binaryStl(flat)},
        {"unknown.xyz", "this is no model of any kind\n"},
    };
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.name);
        const std::string model = folder.write(input.name, input.bytes);
        const std::string before = directoryListing(folder.path());
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"convert", model, "-o", (folder.path() / "out.pdf").string()},
              std::vector<std::string>{"u3d", model, "-o", (folder.path() / "out.u3d").string()}}) {
            const cliResultS run = runCliWith({args, {}, folder.path() / "tmp", {}});
            EXPECT_EQ(run.status, 2) << args[0];
            EXPECT_TRUE(oneErrorLine(run.err)) << run.err;
            EXPECT_NE(run.err.find(model), std::string::npos) << run.err;
            EXPECT_EQ(directoryListing(folder.path()), before);
            EXPECT_EQ(directoryListing(folder.path() / "tmp"), "");
        }
    }
}

// The U3D alone goes where -o says, the same bytes each way; a batch mixes
// imported and U3D models.
// The materials of an imported model reach the poster: the page as poppler
// draws it shows the OBJ's red quad and its half-transparent blue triangle
// in their colours, not the grey of a model without materials.
TEST(CliImportTest, ThePosterShowsTheImportedMaterialsColours) {
    if (!pdftoppmAvailable())
        GTEST_SKIP() << "pdftoppm (poppler-utils) was not found when the build was configured";
    const scratchFolderC folder("cli_import_poster");
    const objFilesS files = objWithMaterials();
    folder.write("parts.mtl", files.mtl);
    const std::string obj = folder.write("parts.obj", files.obj);
    const fs::path pdf = folder.path() / "parts.pdf";
    const cliResultS run = runCli({"convert", obj, "-o", pdf.string(), "--background", "0", "0", "0"});
    ASSERT_EQ(run.status, 0) << run.err;
    const pageImageS page = drawnPage(pdf, folder.path());
    int red = 0, blue = 0, grey = 0;
    // Inside the annotation's rectangle (5 units in from the page's edges).
    for (int y = 5; y < page.height - 5; ++y)
        for (int x = 5; x < page.width - 5; ++x) {
            const auto [r, g, b] = page.at(x, y);
            red += r > 90 && g * 3 < r && b * 3 < r;
            blue += b > 60 && r * 3 < b && g * 3 < b;
            grey += r > 60 && std::abs(r - g) < 8 && std::abs(g - b) < 8;
        }
    // The default view shows the unit quad about 40 x 60 pixels large.
    EXPECT_GT(red, 1000);
    EXPECT_GT(blue, 500);
    EXPECT_LT(grey, red / 10) << "the model drawn without its materials";
}

// A new U3D file gets what the user's umask gives new files (as the PDF
// does); a replaced one keeps the permissions it had.
TEST(CliImportTest, U3dOutputTakesTheUmaskOrTheReplacedFilesPermissions) {
    const scratchFolderC folder("cli_u3d_perms");
    const std::string part = folder.write("part.stl", binaryStl(torus(12, 6, 4, 1)));
    const fs::path out = folder.path() / "new.u3d";
    const mode_t previous = umask(027);
    const cliResultS made = runCli({"u3d", part, "-o", out.string()});
    umask(previous);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(fs::status(out).permissions(), fs::perms(0640));
    fs::permissions(out, fs::perms(0600));
    ASSERT_EQ(runCli({"u3d", part, "-o", out.string()}).status, 0);
    EXPECT_EQ(fs::status(out).permissions(), fs::perms(0600));
}

TEST(CliImportTest, U3dGoesToAFileAFolderOrStandardOutputAndBatchesMixFormats) {
    const scratchFolderC folder("cli_u3d_out");
    const std::string part = folder.write("part.stl", binaryStl(torus(12, 6, 4, 1)));
    fs::create_directory(folder.path() / "sub");
    fs::create_directory(folder.path() / "tmp");
    const fs::path file = folder.path() / "file.u3d";
    ASSERT_EQ(runCliWith({{"u3d", part, "-o", file.string()}, {}, folder.path() / "tmp", {}}).status, 0);
    ASSERT_EQ(runCliWith({{"u3d", part, "-o", (folder.path() / "sub").string()}, {}, folder.path() / "tmp", {}}).status, 0);
    const cliResultS piped = runCliWith({{"u3d", part, "-o", "-"}, {}, folder.path() / "tmp", {}});
    ASSERT_EQ(piped.status, 0) << piped.err;
    const std::string bytes = readFile(file);
    EXPECT_TRUE(readFile(folder.path() / "sub" / "part.u3d") == bytes);
    EXPECT_TRUE(piped.out == bytes);
    expectAssimpsBox(u3dBox(bytes), part);
    // Nothing left beside the outputs or in the temporary folder.
    EXPECT_EQ(directoryListing(folder.path() / "sub"), "part.u3d");
    EXPECT_EQ(directoryListing(folder.path() / "tmp"), "");

    fs::copy_file(testData("torus.u3d"), folder.path() / "ring.u3d");
    const cliResultS batch =
        runCliWith({{"convert", "part.stl", "ring.u3d", "-d", "out", "-j", "2"}, folder.path(), folder.path() / "tmp", {}});
    EXPECT_EQ(batch.status, 0) << batch.err;
    EXPECT_EQ(batch.out, "part.stl -> out/part.pdf\nring.u3d -> out/ring.pdf\n");
    EXPECT_TRUE(qpdfAccepts(folder.path() / "out" / "part.pdf"));
    EXPECT_TRUE(embeddedModel(folder.path() / "out" / "ring.pdf") == readFile(testData("torus.u3d")));
    EXPECT_EQ(directoryListing(folder.path() / "tmp"), "");
}

}  // namespace
