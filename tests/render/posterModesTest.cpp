// What tells the render modes apart, and line sets and point sets.
#include "posterScenes.h"
#include "render/posterBands.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace postertest;
using render::lightingSchemeE;
using render::renderModeE;

constexpr int kWidth = 313;
constexpr int kHeight = 241;

bool isDark(rgb8 p) { return p.r < 40 && p.g < 40 && p.b < 40; }
// A one-pixel line that runs diagonally between pixel centres covers none
// of them fully: drawn, though not black.
bool isDrawn(rgb8 p) { return p.r < 100 && p.g < 100 && p.b < 100; }
bool isWhite(rgb8 p) { return p.r == 255 && p.g == 255 && p.b == 255; }
bool isRed(rgb8 p) { return p.r > p.g + 40 && p.r > p.b + 40; }

// The camera sits at (+, +, +): the corner (1, 1, 1) faces it and
// (-1, -1, -1) is hidden behind the cube. Points used below:
const vec3 kFrontFace{1, 0.6, 0.5};   // on the +x side, away from every edge
const vec3 kFrontEdge{1, 1, 0.3};     // on the edge between +x and +y, seen
const vec3 kBesideEdge[2] = {{1, 0.8, 0.3}, {0.8, 1, 0.3}};  // on either side near it
const vec3 kHiddenEdge{-1, -1, -0.5};  // on the edge between -x and -y, behind the +x side
const vec3 kOutside{0, 2.5, 0};       // beside the cube

// A red cube [-1, 1]^3 in the module's default view.
struct cubeView {
    u3d::sceneS scene;
    render::cameraS camera = defaultCamera(2 * std::sqrt(3.0));

    cubeView() {
        scene.geometries.push_back(cube("box", {-1, -1, -1}, {1, 1, 1}));
        addMaterial(scene, "red", {0.9f, 0.1f, 0.1f, 1});
        scene.nodes.push_back(model("cube", "box", {"red"}));
    }
    render::imageS draw(renderModeE mode, render::drawingS drawing = {}) const {
        drawing.mode = mode;
        return render::renderPoster(scene, camera, drawing, kWidth, kHeight);
    }
    std::array<double, 2> at(vec3 world) const { return project(camera, world, kWidth, kHeight); }
    rgb8 pixelAt(const render::imageS& image, vec3 world) const {
        const auto p = at(world);
        return pixel(image, int(p[0]), int(p[1]));
    }
    // Whether the edge at kFrontEdge is drawn darker than the faces on
    // either side of it (a line one pixel wide may fall on two pixels
    // at half strength each).
    bool outlined(const render::imageS& image) const {
        auto light = [](rgb8 p) { return p.r + p.g + p.b; };
        const int sides = std::min(light(pixelAt(image, kBesideEdge[0])), light(pixelAt(image, kBesideEdge[1])));
        return light(darkestNear(image, kFrontEdge)) < sides * 6 / 10;
    }
    // The darkest pixel within radius pixels of a point.
    rgb8 darkestNear(const render::imageS& image, vec3 world, int radius = 2) const {
        const auto p = at(world);
        rgb8 best{255, 255, 255};
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx) {
                const rgb8 q = pixel(image, int(p[0]) + dx, int(p[1]) + dy);
                if (q.r + q.g + q.b < best.r + best.g + best.b)
                    best = q;
            }
        return best;
    }
};

TEST(PosterModesTest, SurfacesAndEdgesAsEachModeDrawsThem) {
    const cubeView view;

    const render::imageS solid = view.draw(renderModeE::solid);
    EXPECT_TRUE(isRed(view.pixelAt(solid, kFrontFace)));
    EXPECT_TRUE(isRed(view.darkestNear(solid, kFrontEdge)) || !isDark(view.darkestNear(solid, kFrontEdge)));

    // Wireframe: every edge in black, the sides left empty, the hidden
    // edges too.
    const render::imageS wire = view.draw(renderModeE::wireframe);
    savePpm(wire, "poster_cube_wireframe");
    EXPECT_TRUE(isWhite(view.pixelAt(wire, kFrontFace)));
    EXPECT_TRUE(isDark(view.darkestNear(wire, kFrontEdge)));
    EXPECT_TRUE(isDrawn(view.darkestNear(wire, kHiddenEdge)));

    // Hidden wireframe: the same, without what the sides hide.
    const render::imageS hidden = view.draw(renderModeE::hiddenWireframe);
    EXPECT_TRUE(isWhite(view.pixelAt(hidden, kFrontFace)));
    EXPECT_TRUE(isDark(view.darkestNear(hidden, kFrontEdge)));
    EXPECT_TRUE(isWhite(view.darkestNear(hidden, kHiddenEdge)));

    // Solid wireframe: red sides, black edges on them, hidden ones hidden.
    const render::imageS solidWire = view.draw(renderModeE::solidWireframe);
    EXPECT_TRUE(isRed(view.pixelAt(solidWire, kFrontFace)));
    EXPECT_TRUE(isDark(view.darkestNear(solidWire, kFrontEdge)));
    EXPECT_TRUE(isRed(view.darkestNear(solidWire, kHiddenEdge, 1)));

    // The edge colour is the view's auxiliary colour.
    render::drawingS green;
    green.auxiliary = {0, 1, 0};
    const rgb8 edge = view.darkestNear(view.draw(renderModeE::wireframe, green), kFrontEdge, 0);
    EXPECT_GT(edge.g, 200);
    EXPECT_LT(edge.r, 60);
}

TEST(PosterModesTest, TransparentModesBlendWithTheBackground) {
    const cubeView view;
    const rgb8 solid = view.pixelAt(view.draw(renderModeE::solid), kFrontFace);
    const render::imageS image = view.draw(renderModeE::transparent);
    savePpm(image, "poster_cube_transparent");
    const rgb8 seeThrough = view.pixelAt(image, kFrontFace);
    // Between the white background and the solid red: redder than white,
    // lighter than the opaque side.
    EXPECT_LT(seeThrough.g, 235);
    EXPECT_GT(seeThrough.g, solid.g + 40);
    EXPECT_GT(seeThrough.r, seeThrough.g);
    EXPECT_TRUE(isWhite(view.pixelAt(image, kOutside)));

    // More opacity, more red.
    render::drawingS opaque;
    opaque.opacity = 0.9;
    EXPECT_LT(view.pixelAt(view.draw(renderModeE::transparent, opaque), kFrontFace).g, seeThrough.g - 30);

    // With the wireframe, the edges are opaque on top, hidden ones too.
    const render::imageS wire = view.draw(renderModeE::transparentWireframe);
    EXPECT_TRUE(isDark(view.darkestNear(wire, kFrontEdge)));
    EXPECT_TRUE(isDrawn(view.darkestNear(wire, kHiddenEdge)));
    EXPECT_EQ(view.pixelAt(wire, kFrontFace).g, seeThrough.g);
}

TEST(PosterModesTest, OutlinesFollowSilhouettesAndCreases) {
    const cubeView view;
    const render::imageS outline = view.draw(renderModeE::solidOutline);
    savePpm(outline, "poster_cube_outline");
    // The cube's silhouette and its creases (90 degrees, above the default
    // 45) are dark; the sides red; the hidden edges not drawn.
    EXPECT_TRUE(isDark(view.darkestNear(outline, {1, -1, 0.3})));  // silhouette: +x meets -y, seen edge-on
    EXPECT_TRUE(view.outlined(outline));
    EXPECT_TRUE(isRed(view.pixelAt(outline, kFrontFace)));
    EXPECT_TRUE(isRed(view.darkestNear(outline, kHiddenEdge, 1)));
    EXPECT_TRUE(isWhite(view.pixelAt(outline, kOutside)));

    // A crease angle above 90 degrees leaves the creases alone.
    render::drawingS blunt;
    blunt.creaseDegrees = 100;
    EXPECT_FALSE(view.outlined(view.draw(renderModeE::solidOutline, blunt)));

    // Illustration: the outlines over faces in the face colour, unlit.
    render::drawingS yellow;
    yellow.face = render::rgbS{1, 1, 0};
    const render::imageS illustration = view.draw(renderModeE::illustration, yellow);
    EXPECT_TRUE(view.outlined(illustration));
    const rgb8 face = view.pixelAt(illustration, kFrontFace);
    EXPECT_EQ(face.r, 255);
    EXPECT_EQ(face.g, 255);
    EXPECT_EQ(face.b, 0);
    // Without a face colour the faces take the background.
    EXPECT_TRUE(isWhite(view.pixelAt(view.draw(renderModeE::illustration), kFrontFace)));

    // Shaded illustration: lit faces, lifted by an emissive term.
    const rgb8 lifted = view.pixelAt(view.draw(renderModeE::shadedIllustration), kFrontFace);
    const rgb8 plain = view.pixelAt(outline, kFrontFace);
    EXPECT_GT(lifted.r, plain.r + 40);
    EXPECT_TRUE(view.outlined(view.draw(renderModeE::shadedIllustration)));
}

TEST(PosterModesTest, VerticesAndBoundingBoxes) {
    cubeView view;
    // Vertices: a dot at each corner, nothing between them.
    const render::imageS dots = view.draw(renderModeE::vertices);
    EXPECT_TRUE(isDark(view.pixelAt(dots, {1, 1, 1})));
    EXPECT_TRUE(isDark(view.pixelAt(dots, {-1, 1, -1})));
    EXPECT_TRUE(isWhite(view.pixelAt(dots, kFrontEdge)));
    EXPECT_TRUE(isWhite(view.pixelAt(dots, kFrontFace)));
    EXPECT_TRUE(isRed(view.pixelAt(view.draw(renderModeE::shadedVertices), {1, 1, 1})));

    // Bounding boxes: a triangle whose box has corners where the triangle
    // has none.
    view.scene.geometries[0].positionIndices = {1, 2, 4};  // (1,-1,-1), (-1,1,-1), (-1,-1,1)
    const render::imageS box = view.draw(renderModeE::boundingBox);
    savePpm(box, "poster_box_edges");
    EXPECT_TRUE(isDark(view.darkestNear(box, kFrontEdge)));
    EXPECT_TRUE(isDrawn(view.darkestNear(box, kHiddenEdge)));
    EXPECT_TRUE(isWhite(view.pixelAt(box, kFrontFace)));

    const render::imageS faces = view.draw(renderModeE::transparentBoundingBox);
    const rgb8 tinted = view.pixelAt(faces, kFrontFace);
    EXPECT_FALSE(isWhite(tinted));
    EXPECT_FALSE(isDark(tinted));
    EXPECT_FALSE(isDark(view.darkestNear(faces, kFrontEdge, 0)));
    const render::imageS both = view.draw(renderModeE::transparentBoundingBoxOutline);
    EXPECT_TRUE(isDark(view.darkestNear(both, kFrontEdge)));
    EXPECT_EQ(view.pixelAt(both, kFrontFace).g, tinted.g);
}

TEST(PosterModesTest, LineSetsAndPointSetsShowInTheirColours) {
    u3d::sceneS scene;
    u3d::geometryS lines;
    lines.kind = u3d::geometryKindE::lineSet;
    lines.name = "lines";
    lines.positions = {{-1, -0.5f, 0}, {1, -0.5f, 0}, {0, 0.8f, 0}};
    lines.positionIndices = {0, 1, 1, 2};
    scene.geometries.push_back(lines);
    u3d::geometryS points;
    points.kind = u3d::geometryKindE::pointSet;
    points.name = "points";
    points.positions = {{-0.6f, 0.6f, 0}, {0.7f, 0.4f, 0}};
    points.positionIndices = {0, 1};
    points.diffuseColors = {{0, 0, 1, 1}, {0, 0.8f, 0, 1}};
    points.diffuseIndices = {0, 1};
    scene.geometries.push_back(points);
    addMaterial(scene, "red", {1, 0, 0, 1});
    scene.nodes.push_back(model("l", "lines", {"red"}));
    scene.nodes.push_back(model("p", "points", {"red"}));

    const render::cameraS camera = frontCamera();
    auto at = [&](const render::imageS& image, vec3 world) {
        const auto p = project(camera, world, kWidth, kHeight);
        return pixel(image, int(p[0]), int(p[1]));
    };
    render::drawingS drawing;
    drawing.mode = renderModeE::solidOutline;
    const render::imageS image = render::renderPoster(scene, camera, drawing, kWidth, kHeight);
    savePpm(image, "poster_lines_points");
    // Along the lines: their material's red, unlit; beside them: nothing.
    for (double x : {-0.8, -0.3, 0.4, 0.9})
        EXPECT_TRUE(isRed(at(image, {x, -0.5, 0}))) << x;
    EXPECT_TRUE(isRed(at(image, {0.5, 0.15, 0})));
    EXPECT_TRUE(isWhite(at(image, {0, -0.4, 0})));
    // The dots in their vertex colours, small.
    const rgb8 blue = at(image, {-0.6, 0.6, 0}), green = at(image, {0.7, 0.4, 0});
    EXPECT_GT(blue.b, 200);
    EXPECT_LT(blue.r, 60);
    EXPECT_GT(green.g, 150);
    EXPECT_LT(green.r, 60);
    EXPECT_TRUE(isWhite(at(image, {-0.6, 0.6 + 0.05, 0})));

    // In the wireframe mode both take the auxiliary colour.
    drawing.mode = renderModeE::wireframe;
    const render::imageS wire = render::renderPoster(scene, camera, drawing, kWidth, kHeight);
    EXPECT_TRUE(isDark(at(wire, {0.4, -0.5, 0})));
    EXPECT_TRUE(isDark(at(wire, {-0.6, 0.6, 0})));
}

TEST(PosterModesTest, BrokenGeometryIsPassedOverAndTheRestDrawn) {
    cubeView view;
    u3d::geometryS& g = view.scene.geometries[0];
    // An index past the positions, a position that is not a number, a
    // shading id list that is too short, normals and colours that do not
    // match the corners.
    g.positionIndices.push_back(0);
    g.positionIndices.push_back(1);
    g.positionIndices.push_back(999);
    g.positions.push_back({std::nanf(""), 0, 0});
    g.positionIndices.insert(g.positionIndices.end(), {0, 8, 1});
    g.shadingIds = {0};
    g.normals = {{0, 0, 1}};
    g.normalIndices = {0, 0};
    g.diffuseColors = {{0, 1, 0, 1}};
    g.diffuseIndices = {5, 5, 5};
    // Another instance whose transform overflows single precision, and
    // one whose material is not a number.
    u3d::matrix4d huge;
    huge.m[0] = huge.m[5] = huge.m[10] = 1e300;
    view.scene.nodes.push_back(model("huge", "box", {"red"}, huge));
    addMaterial(view.scene, "nan", {std::nanf(""), 0, 0, 1}, std::nanf(""));
    u3d::matrix4d aside;
    aside.m[12] = -30;
    view.scene.nodes.push_back(model("aside", "box", {"nan"}, aside));
    const render::imageS image = view.draw(renderModeE::solidOutline);
    EXPECT_TRUE(isRed(view.pixelAt(image, kFrontFace)));
    EXPECT_TRUE(isWhite(view.pixelAt(image, kOutside)));
    // Settings that are not numbers or out of range.
    render::drawingS odd;
    odd.background = {std::nan(""), 2, -1};
    odd.opacity = 1e300;
    odd.creaseDegrees = std::nan("");
    odd.auxiliary = {1e300, -1e300, 0.5};
    const rgb8 corner = pixel(view.draw(renderModeE::transparentWireframe, odd), 0, 0);
    EXPECT_EQ(corner.r, 0);
    EXPECT_EQ(corner.g, 255);
    EXPECT_EQ(corner.b, 0);
    for (renderModeE mode : {renderModeE::wireframe, renderModeE::vertices, renderModeE::boundingBox})
        EXPECT_TRUE(isWhite(view.pixelAt(view.draw(mode), kOutside)));
}

TEST(PosterModesTest, BandsDoNotShowWhereTheyMeet) {
    // The same picture drawn as one band and as bands of a pixel row or a
    // few: outlines, edges, dots and blending come out the same.
    cubeView view;
    u3d::geometryS points;
    points.kind = u3d::geometryKindE::pointSet;
    points.name = "points";
    points.positions = {{1, 1, 1}, {1, -1, 1}, {-1, 1, 1}};
    points.positionIndices = {0, 1, 2};
    view.scene.geometries.push_back(points);
    view.scene.nodes.push_back(model("points", "points"));
    for (renderModeE mode : {renderModeE::solidOutline, renderModeE::transparentWireframe, renderModeE::shadedVertices,
                             renderModeE::transparentBoundingBoxOutline}) {
        render::drawingS drawing;
        drawing.mode = mode;
        const render::imageS whole =
            render::renderPosterInBands(view.scene, view.camera, drawing, kWidth, kHeight, std::size_t(1) << 30);
        for (std::size_t bytes : {std::size_t(1), std::size_t(kWidth) * 4 * 13 * 3})
            EXPECT_EQ(render::renderPosterInBands(view.scene, view.camera, drawing, kWidth, kHeight, bytes).rgb,
                      whole.rgb)
                << int(mode) << " in bands of " << bytes << " bytes";
    }
}

}  // namespace
