// Where things land on the poster: silhouettes, transforms, depth order,
// and the views that show nothing.
#include "posterScenes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace postertest;
using render::renderModeE;

constexpr int kWidth = 313;  // the annotation's 783 x 602 at 28.8 pixels per inch
constexpr int kHeight = 241;

bool isRed(rgb8 p) { return p.r > p.g + 25 && p.r > p.b + 25; }
bool isBlue(rgb8 p) { return p.b > p.r + 25 && p.b > p.g + 25; }

u3d::sceneS redCube(vec3 lo, vec3 hi) {
    u3d::sceneS scene;
    scene.geometries.push_back(cube("box", lo, hi));
    addMaterial(scene, "red", {0.9f, 0.1f, 0.1f, 1});
    scene.nodes.push_back(model("cube", "box", {"red"}));
    return scene;
}

// Checks every pixel against the silhouette the test projects itself:
// inside by more than two pixels the model's colour, outside by more than
// two the background. Returns the number of pixels checked inside.
int checkSilhouette(const render::imageS& image, const std::vector<std::array<double, 2>>& hull,
                    bool (*modelColoured)(rgb8), const render::rgbS& background) {
    int inside = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const double by = insideBy(hull, x + 0.5, y + 0.5);
            const rgb8 p = pixel(image, x, y);
            if (by > 2) {
                ++inside;
                EXPECT_TRUE(modelColoured(p)) << "inside at " << x << "," << y << ": " << p.r << " " << p.g << " " << p.b;
            } else if (by < -2) {
                EXPECT_TRUE(isBackground(p, background)) << "outside at " << x << "," << y;
            }
        }
    return inside;
}

std::vector<std::array<double, 2>> projectedBox(const render::cameraS& camera, vec3 lo, vec3 hi,
                                                const u3d::matrix4d& transform = {}) {
    std::vector<std::array<double, 2>> points;
    for (int i = 0; i < 8; ++i) {
        const auto w = transform.transformPoint(i & 1 ? hi[0] : lo[0], i & 2 ? hi[1] : lo[1], i & 4 ? hi[2] : lo[2]);
        points.push_back(project(camera, {w[0], w[1], w[2]}, kWidth, kHeight));
    }
    return convexHull(points);
}

TEST(PosterGeometryTest, TheCubeFillsExactlyTheSilhouetteThatTheDefaultViewProjects) {
    const vec3 lo{-1, -1, -1}, hi{1, 1, 1};
    const u3d::sceneS scene = redCube(lo, hi);
    const render::cameraS camera = defaultCamera(2 * std::sqrt(3.0));
    render::drawingS drawing;
    drawing.mode = renderModeE::solid;
    const render::imageS image = render::renderPoster(scene, camera, drawing, kWidth, kHeight);
    ASSERT_EQ(image.rgb.size(), std::size_t(kWidth * kHeight * 3));
    savePpm(image, "poster_cube_solid");

    const int inside = checkSilhouette(image, projectedBox(camera, lo, hi), isRed, drawing.background);
    // The cube is seen corner-on and takes a fair share of the picture.
    EXPECT_GT(inside, kWidth * kHeight / 20);

    // Off-centre and small: the projection holds away from the axis too.
    const vec3 lo2{1.5, -0.2, -2}, hi2{1.9, 0.4, -1.2};
    const render::imageS small = render::renderPoster(redCube(lo2, hi2), camera, drawing, kWidth, kHeight);
    EXPECT_GT(checkSilhouette(small, projectedBox(camera, lo2, hi2), isRed, drawing.background), 50);
}

TEST(PosterGeometryTest, NodeTransformsAndParentsPlaceEachInstance) {
    // One cube resource, shown by a node under a rotated and translated
    // group: the instance lands where the product of the transforms puts it.
    u3d::sceneS scene = redCube({-0.5, -0.5, -0.5}, {0.5, 0.5, 0.5});
    scene.nodes.clear();
    u3d::matrix4d group;
    const double angle = 0.6;
    group.m = {std::cos(angle), 0, -std::sin(angle), 0, 0, 1, 0, 0, std::sin(angle), 0, std::cos(angle), 0, 1.5, 0.5, -1, 1};
    u3d::matrix4d local;
    local.m[12] = 0.25;
    local.m[0] = 1.5;  // stretched along its own x
    u3d::nodeS g;
    g.kind = u3d::nodeKindE::group;
    g.name = "group";
    g.parents.push_back({"", group});
    scene.nodes.push_back(g);
    u3d::nodeS m = model("cube", "box", {"red"});
    m.parents = {{"group", local}};
    scene.nodes.push_back(m);

    const render::cameraS camera = defaultCamera(4);
    render::drawingS drawing;
    drawing.mode = renderModeE::solid;
    const render::imageS image = render::renderPoster(scene, camera, drawing, kWidth, kHeight);
    const auto hull = projectedBox(camera, {-0.5, -0.5, -0.5}, {0.5, 0.5, 0.5}, group * local);
    EXPECT_GT(checkSilhouette(image, hull, isRed, drawing.background), 200);
}

// Which way round the image is, told by where each face of a cube with six
// colours shows up, not by the tests' own projection: a 3D view's camera
// frame is right-handed with +z along the view and +y up, and viewers show
// it unmirrored, so camera +x points to the image's left.
TEST(PosterGeometryTest, EachFaceOfAColouredCubeShowsOnItsSide) {
    u3d::sceneS scene;
    u3d::geometryS box = cube("box", {-1, -1, -1}, {1, 1, 1});
    // cube() writes the sides -z, +z, -y, +y, -x, +x, two triangles each.
    const char* sides[6] = {"-z", "+z", "-y", "+y", "-x", "+x"};
    const u3d::color4f colours[6] = {{1, 1, 0, 1}, {0, 0, 1, 1}, {1, 0, 1, 1}, {0, 1, 0, 1}, {0, 1, 1, 1}, {1, 0, 0, 1}};
    std::vector<std::string> shaders;
    for (uint32_t side = 0; side < 6; ++side) {
        box.shadingIds.insert(box.shadingIds.end(), {side, side});
        shaders.push_back(sides[side]);
        addMaterial(scene, sides[side], colours[side]);
    }
    scene.geometries.push_back(box);
    scene.nodes.push_back(model("cube", "box", shaders));
    render::drawingS drawing;
    drawing.mode = renderModeE::solid;
    drawing.lighting = render::lightingSchemeE::none;
    for (auto& material : scene.materials)
        material.emissive = material.diffuse;  // unlit: each face exactly its colour

    // The standard's example front view of a z-up world (ISO 32000-1,
    // 13.6.5): C2W [-1 0 0 0 0 1 0 1 0 0 -10 0], from -y towards +y. Seen
    // so, +x is on the right and +z on top. The two side faces are seen
    // edge-on; move the camera off the axis a little to see +x and +z.
    auto dominant = [](rgb8 p) { return std::array<int, 3>{p.r > 128, p.g > 128, p.b > 128}; };
    auto colourOf = [&](int side) {
        const u3d::color4f& c = colours[side];
        return std::array<int, 3>{c.r > 0.5f, c.g > 0.5f, c.b > 0.5f};
    };
    {
        const render::cameraS front = camera({-1, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0, -10, 0});
        const render::imageS image = render::renderPoster(scene, front, drawing, kWidth, kHeight);
        EXPECT_EQ(dominant(pixel(image, kWidth / 2, kHeight / 2)), colourOf(2));  // -y faces the camera
    }
    // From (+x, -y, +z)-ward, looking at the origin; up stays nearest +z.
    const vec3 position{4, -6, 4};
    const double n = std::sqrt(16.0 + 36 + 16);
    const vec3 z{-position[0] / n, -position[1] / n, -position[2] / n};
    const vec3 up0{0, 0, 1};
    const double along = up0[0] * z[0] + up0[1] * z[1] + up0[2] * z[2];
    vec3 y{up0[0] - along * z[0], up0[1] - along * z[1], up0[2] - along * z[2]};
    const double ny = std::sqrt(y[0] * y[0] + y[1] * y[1] + y[2] * y[2]);
    for (double& v : y)
        v /= ny;
    const vec3 x{y[1] * z[2] - y[2] * z[1], y[2] * z[0] - y[0] * z[2], y[0] * z[1] - y[1] * z[0]};
    const render::cameraS oblique = camera(x, y, z, position);
    const render::imageS image = render::renderPoster(scene, oblique, drawing, kWidth, kHeight);
    savePpm(image, "poster_coloured_cube");
    const int cx = kWidth / 2, cy = kHeight / 2;
    int right = 0, top = 0, centre = 0;
    for (int dy = -30; dy <= 30; ++dy)
        for (int dx = -30; dx <= 30; ++dx) {
            const auto c = dominant(pixel(image, cx + dx, cy + dy));
            right += c == colourOf(5) && dx > 0;      // +x
            top += c == colourOf(1) && dy < 0;        // +z
            centre += c == colourOf(2);               // -y
            EXPECT_FALSE(c == colourOf(5) && dx < -2) << dx << "," << dy;
            EXPECT_FALSE(c == colourOf(1) && dy > 2) << dx << "," << dy;
        }
    EXPECT_GT(right, 20);
    EXPECT_GT(top, 20);
    EXPECT_GT(centre, 200);
}

TEST(PosterGeometryTest, NearFacesHideFarOnesWhateverTheOrder) {
    // A blue cube in front of a red one, from the camera's side; the red
    // one listed last and first: the overlap is blue either way.
    const render::cameraS camera = postertest::camera({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, -10});
    for (bool redFirst : {true, false}) {
        u3d::sceneS scene;
        scene.geometries.push_back(cube("near", {-1, -1, -1}, {1, 1, 1}));
        scene.geometries.push_back(cube("far", {-0.5, -3, 3}, {3, 3, 5}));
        addMaterial(scene, "blue", {0.1f, 0.1f, 0.9f, 1});
        addMaterial(scene, "red", {0.9f, 0.1f, 0.1f, 1});
        const u3d::nodeS nearNode = model("near", "near", {"blue"}), farNode = model("far", "far", {"red"});
        scene.nodes = redFirst ? std::vector<u3d::nodeS>{farNode, nearNode} : std::vector<u3d::nodeS>{nearNode, farNode};
        render::drawingS drawing;
        drawing.mode = renderModeE::solid;
        drawing.lighting = render::lightingSchemeE::headlamp;
        const render::imageS image = render::renderPoster(scene, camera, drawing, kWidth, kHeight);

        const auto centre = project(camera, {0, 0, -1}, kWidth, kHeight);
        const auto farOnly = project(camera, {2.5, 0, 3}, kWidth, kHeight);
        EXPECT_TRUE(isBlue(pixel(image, int(centre[0]), int(centre[1])))) << redFirst;
        EXPECT_TRUE(isRed(pixel(image, int(farOnly[0]), int(farOnly[1])))) << redFirst;
        // The near cube's edge x = 1 at z = -1 cuts across the red: on the
        // image's left, where the camera's +x points.
        const double edge = project(camera, {1, 0, -1}, kWidth, kHeight)[0];
        EXPECT_LT(edge, kWidth / 2);
        EXPECT_TRUE(isBlue(pixel(image, int(edge) + 2, int(centre[1]))));
        EXPECT_TRUE(isRed(pixel(image, int(edge) - 2, int(centre[1]))));
    }
}

TEST(PosterGeometryTest, ViewsThatShowNothingGiveTheBackgroundAndNoCrash) {
    render::drawingS drawing;
    drawing.background = {0.2, 0.4, 0.6};
    auto allBackground = [&](const render::imageS& image) {
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (!isBackground(pixel(image, x, y), drawing.background))
                    return false;
        return true;
    };
    const u3d::sceneS unitCube = redCube({-1, -1, -1}, {1, 1, 1});

    // An empty scene; a scene whose only model has no geometry.
    EXPECT_TRUE(allBackground(render::renderPoster({}, defaultCamera(1), drawing, 64, 48)));
    u3d::sceneS noGeometry;
    noGeometry.nodes.push_back(model("m", "missing"));
    EXPECT_TRUE(allBackground(render::renderPoster(noGeometry, defaultCamera(1), drawing, 64, 48)));

    // The module's camera for a box of no size: at the origin, distance 0,
    // with a model that is all one point there.
    u3d::sceneS point = redCube({0, 0, 0}, {0, 0, 0});
    EXPECT_TRUE(allBackground(render::renderPoster(point, defaultCamera(0), drawing, 64, 48)));

    // Axes that cannot be inverted, numbers that are not numbers, a
    // negative centre of orbit.
    render::cameraS flat = defaultCamera(4);
    for (int i = 6; i < 9; ++i)
        flat.cameraToWorld[i] = 0;
    EXPECT_TRUE(allBackground(render::renderPoster(unitCube, flat, drawing, 64, 48)));
    render::cameraS notANumber = defaultCamera(4);
    notANumber.cameraToWorld[10] = std::nan("");
    EXPECT_TRUE(allBackground(render::renderPoster(unitCube, notANumber, drawing, 64, 48)));
    render::cameraS negative = defaultCamera(4);
    negative.centreOfOrbit = -1;
    EXPECT_TRUE(allBackground(render::renderPoster(unitCube, negative, drawing, 64, 48)));

    // Looking away from the model.
    const render::cameraS away = camera({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 10});
    EXPECT_TRUE(allBackground(render::renderPoster(unitCube, away, drawing, 64, 48)));

    // A centre of orbit of 0 does not change the picture: the camera's
    // position does.
    render::cameraS noOrbit = defaultCamera(2 * std::sqrt(3.0));
    noOrbit.centreOfOrbit = 0;
    EXPECT_EQ(render::renderPoster(unitCube, noOrbit, drawing, 64, 48).rgb,
              render::renderPoster(unitCube, defaultCamera(2 * std::sqrt(3.0)), drawing, 64, 48).rgb);
    EXPECT_FALSE(allBackground(render::renderPoster(unitCube, noOrbit, drawing, 64, 48)));

    EXPECT_THROW(render::renderPoster(unitCube, defaultCamera(4), drawing, 0, 48), render::renderError);
    EXPECT_THROW(render::renderPoster(unitCube, defaultCamera(4), drawing, 64, render::kMaxImageSide + 1),
                 render::renderError);
}

TEST(PosterGeometryTest, ACameraInsideTheModelDrawsWhatLiesInFrontOfIt) {
    // The camera sits in the middle of a large box: the near plane cuts the
    // faces beside and behind it, and the far face fills the picture.
    const u3d::sceneS scene = redCube({-10, -10, -10}, {10, 10, 10});
    const render::cameraS inside = camera({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0});
    render::drawingS drawing;
    drawing.mode = renderModeE::solid;
    drawing.lighting = render::lightingSchemeE::headlamp;
    const render::imageS image = render::renderPoster(scene, inside, drawing, 64, 48);
    for (int y = 0; y < 48; y += 7)
        for (int x = 0; x < 64; x += 7)
            EXPECT_TRUE(isRed(pixel(image, x, y))) << x << "," << y;
}

TEST(PosterSizeTest, PixelsFollowTheViewBoxAndTheResolution) {
    EXPECT_EQ(render::posterPixels(783, 602, 150), (std::array<int, 2>{1631, 1254}));
    EXPECT_EQ(render::posterPixels(72, 36, 72), (std::array<int, 2>{72, 36}));
    EXPECT_EQ(render::posterPixels(0, 1e9, 150), (std::array<int, 2>{1, render::kMaxImageSide}));
}

}  // namespace
