// u3dpdf convert and the poster: what a viewer without 3D shows, checked on
// the page as poppler draws it, and the presentation options as users type
// them.
#include "cliRunner.h"
#include "integration/pdfObjects.h"
#include "render/posterScenes.h"
#include "u3d/blockTypes.h"
#include "u3d/u3dTestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Half the sides of the box the tests draw. Unequal, so that its silhouette
// in the default view, which looks along the plane x = z, is not its own
// mirror image: an image drawn the wrong way round does not pass.
const std::array<double, 3> kHalfSides{2, 1, 0.5};

// A box mesh from -kHalfSides to kHalfSides, wound outwards, under a model
// node that moves it to the centre given.
u3dtest::bytesT boxModel(std::array<double, 3> centre) {
    using namespace u3dtest;
    std::vector<std::array<float, 3>> corners;
    for (int i = 0; i < 8; ++i)
        corners.push_back({float(i & 1 ? kHalfSides[0] : -kHalfSides[0]), float(i & 2 ? kHalfSides[1] : -kHalfSides[1]),
                           float(i & 4 ? kHalfSides[2] : -kHalfSides[2])});
    const std::vector<std::array<uint32_t, 3>> faces = {{0, 2, 3}, {0, 3, 1}, {4, 5, 7}, {4, 7, 6},
                                                        {0, 1, 5}, {0, 5, 4}, {2, 6, 7}, {2, 7, 3},
                                                        {0, 4, 6}, {0, 6, 2}, {1, 3, 7}, {1, 7, 5}};
    return file({chain("Box", 0, {node(u3d::kModelNodeBlock, "Box", {{"", centre}}, "BoxMesh")}),
                 chain("BoxMesh", 1, {meshDeclaration("BoxMesh", 12, 8), baseMesh("BoxMesh", corners, faces)})});
}

// The C2W array of the annotation's default view, as written.
std::array<double, 12> writtenCamera(const std::string& pdf) {
    std::array<double, 12> c2w{};
    const std::string annotation = pdfObjects(pdf)[7].dictionary;
    std::istringstream values(entryOf(annotation, "C2W").substr(1));
    for (double& value : c2w)
        values >> value;
    return c2w;
}

// Where a world point falls on the page drawn at 72 pixels per inch, by the
// rules of a view without a projection entry: camera coordinates from the
// C2W axes, perspective with a 90-degree field of view across the
// annotation's width (783 units, from x = 5), centred on its rectangle;
// camera +x to the left, +y up.
std::array<double, 2> onPage(const std::array<double, 12>& c, const std::array<double, 3>& world) {
    double local[3];
    for (int axis = 0; axis < 3; ++axis) {
        local[axis] = 0;
        for (int k = 0; k < 3; ++k)
            local[axis] += (world[size_t(k)] - c[size_t(9 + k)]) * c[size_t(3 * axis + k)];
    }
    const double focal = 783 / 2.0, centreX = 5 + 783 / 2.0, centreY = 5 + 602 / 2.0;
    const double pageX = centreX - focal * local[0] / local[2];
    const double pageY = centreY + focal * local[1] / local[2];
    return {pageX, 612 - pageY};
}

bool near(const std::array<int, 3>& p, const std::array<int, 3>& q) {
    return std::abs(p[0] - q[0]) <= 3 && std::abs(p[1] - q[1]) <= 3 && std::abs(p[2] - q[2]) <= 3;
}

TEST(CliPosterTest, TheDrawnPageShowsTheBoxInsideTheSilhouetteTheViewProjects) {
    if (!pdftoppmAvailable())
        GTEST_SKIP() << "pdftoppm (poppler-utils) was not found when the build was configured";
    scratchDirS dir("posterbox");
    const std::array<double, 3> centre{3, -2, 1};
    const u3dtest::bytesT model = boxModel(centre);
    writeFile(dir / "box.u3d", std::string(model.begin(), model.end()));

    // The poster is on by default; a dark green background tells the
    // background from the grey model and from the white page.
    const cliResultS run = runCli({"convert", (dir / "box.u3d").string(), "-o", (dir / "box.pdf").string(), "--bbox",
                                   "1", "-3", "0.5", "5", "-1", "1.5", "--center", "--background", "0", "0.4", "0"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string pdf = readFile(dir / "box.pdf");
    if (qpdfAvailable()) {
        EXPECT_TRUE(qpdfAccepts(dir / "box.pdf"));
        EXPECT_TRUE(embeddedModel(dir / "box.pdf") == std::string(model.begin(), model.end()));
    }

    const std::array<double, 12> camera = writtenCamera(pdf);
    std::vector<std::array<double, 2>> corners;
    for (int i = 0; i < 8; ++i)
        corners.push_back(onPage(camera, {centre[0] + (i & 1 ? 1 : -1) * kHalfSides[0],
                                          centre[1] + (i & 2 ? 1 : -1) * kHalfSides[1],
                                          centre[2] + (i & 4 ? 1 : -1) * kHalfSides[2]}));
    const auto hull = postertest::convexHull(corners);

    const pageImageS page = drawnPage(dir / "box.pdf", dir.path);
    ASSERT_EQ(page.width, 793);
    ASSERT_EQ(page.height, 612);
    const std::array<int, 3> background{0, 102, 0};
    int inside = 0, outside = 0;
    // The annotation's rectangle, rows from the top: 612 - 607 to 612 - 5.
    for (int y = 5; y < 607; ++y)
        for (int x = 5; x < 788; ++x) {
            const double by = postertest::insideBy(hull, x + 0.5, y + 0.5);
            const std::array<int, 3> p = page.at(x, y);
            if (by > 2) {
                ++inside;
                EXPECT_FALSE(near(p, background)) << "inside at " << x << "," << y;
            } else if (by < -2) {
                ++outside;
                EXPECT_TRUE(near(p, background)) << "outside at " << x << "," << y << ": " << p[0] << " " << p[1]
                                                 << " " << p[2];
            }
        }
    EXPECT_GT(inside, 5000);
    EXPECT_GT(outside, 400000);
    // Around the annotation, the page's own white.
    EXPECT_TRUE(near(page.at(1, 1), {255, 255, 255}));
}

TEST(CliPosterTest, PresentationOptionsBecomeTheModulesEntriesAndBadNamesAreUsageErrors) {
    scratchDirS dir("posteroptions");
    const fs::path model = testData("box.u3d");
    const std::string out = (dir / "out.pdf").string();
    auto convert = [&](std::vector<std::string> options) {
        std::vector<std::string> args = {"convert", model.string(), "-o", out};
        args.insert(args.end(), options.begin(), options.end());
        return runCli(args);
    };

    // Without options: a poster at 150 pixels per inch.
    ASSERT_EQ(convert({}).status, 0);
    auto objects = pdfObjects(readFile(out));
    EXPECT_NE(objects[7].dictionary.find("/AP <<\r\n/N 9 0 R"), std::string::npos);
    EXPECT_EQ(entryOf(objects[10].dictionary, "Width"), "1631");
    ASSERT_EQ(convert({"--poster-dpi", "36"}).status, 0);
    EXPECT_EQ(entryOf(pdfObjects(readFile(out))[10].dictionary, "Width"), "392");
    // --no-poster: the empty appearance of before, nothing after the model.
    ASSERT_EQ(convert({"--no-poster"}).status, 0);
    objects = pdfObjects(readFile(out));
    EXPECT_NE(objects[7].dictionary.find("/AP <<\r\n/N <<"), std::string::npos);
    EXPECT_EQ(objects.size(), 8u);

    ASSERT_EQ(convert({"--no-poster", "--render-mode", "hiddenwireframe", "--lighting", "CAD", "--views",
                       "front,Top", "--toolbar", "--model-tree", "--background", "1", "0.25", "0"})
                  .status,
              0);
    const std::string pdf = readFile(out);
    objects = pdfObjects(pdf);
    const std::string& annotation = objects[7].dictionary;
    EXPECT_NE(annotation.find("/Subtype /HiddenWireframe\r\n"), std::string::npos);
    EXPECT_NE(annotation.find("/Subtype /CAD\r\n"), std::string::npos);
    EXPECT_NE(annotation.find("/C [1 0.25 0 ]"), std::string::npos);
    EXPECT_NE(annotation.find("/TB true\r\n/NP true\r\n"), std::string::npos);
    EXPECT_NE(objects[8].dictionary.find("/XN (Top)"), std::string::npos);
    EXPECT_NE(objects[8].dictionary.find("/XN (Front)"), std::string::npos);

    // A name the module does not know: one line, status 2, nothing written.
    fs::remove(out);
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--render-mode", "Shiny"}, {"--lighting", "sunset"}, {"--views", "front,side"},
          {"--background", "0", "0", "2"}, {"--poster-dpi", "0"}, {"--poster", "--no-poster"},
          {"--no-poster", "--poster-dpi", "72"}}) {
        SCOPED_TRACE(bad[0] + " " + bad[1]);
        const cliResultS run = convert(bad);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(oneErrorLine(run.err)) << run.err;
        EXPECT_EQ(directoryListing(dir.path), "");
    }
    const cliResultS lighting = convert({"--lighting", "sunset"});
    EXPECT_NE(lighting.err.find("--lighting does not take \"sunset\": use one of White, Day, Night, Hard, Primary, "
                                "Blue, Red, Cube, CAD, Headlamp"),
              std::string::npos)
        << lighting.err;

    // The help names every value.
    const std::string help = runCli({"convert", "--help"}).out;
    for (const char* name : {"TransparentBoundingBoxOutline", "ShadedIllustration", "Headlamp", "Primary", "Isometric",
                             "Bottom", "--poster-dpi", "--no-poster", "--model-tree"})
        EXPECT_NE(help.find(name), std::string::npos) << name;
}

}  // namespace
