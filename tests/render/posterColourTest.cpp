// The colours of the poster: materials by shading id, vertex colours,
// lighting schemes, opacity, the background.
#include "posterScenes.h"

#include <gtest/gtest.h>

namespace {

using namespace postertest;
using render::lightingSchemeE;
using render::renderModeE;

constexpr int kSize = 120;

// A square facing the camera squarely, filling the middle of the image.
u3d::sceneS frontSquare(u3d::geometryS geometry, std::vector<std::string> shaders = {}) {
    u3d::sceneS scene;
    geometry.name = "square";
    scene.geometries.push_back(std::move(geometry));
    scene.nodes.push_back(model("square", "square", std::move(shaders)));
    return scene;
}

render::imageS draw(const u3d::sceneS& scene, lightingSchemeE lighting, renderModeE mode = renderModeE::solid,
                    render::rgbS background = {1, 1, 1}) {
    render::drawingS drawing;
    drawing.mode = mode;
    drawing.lighting = lighting;
    drawing.background = background;
    return render::renderPoster(scene, frontCamera(), drawing, kSize, kSize);
}

void expectNear(rgb8 p, int r, int g, int b, int tolerance = 2) {
    EXPECT_NEAR(p.r, r, tolerance);
    EXPECT_NEAR(p.g, g, tolerance);
    EXPECT_NEAR(p.b, b, tolerance);
}

TEST(PosterColourTest, MaterialsAreLitByTheSchemesLightsInCameraSpace) {
    u3d::sceneS scene = frontSquare(square("s"), {"green"});
    addMaterial(scene, "green", {0.2f, 0.8f, 0.3f, 1});
    const int mid = kSize / 2;

    // Headlamp: a light of (0.8, 0.8, 0.9) along the view, ambient 0.1 on
    // the diffuse colour. The square faces the camera, so all of it counts.
    expectNear(pixel(draw(scene, lightingSchemeE::headlamp), mid, mid), 46, 184, 77);
    // White: of its three lights only the third, travelling along
    // (-0.5, 0, 2), falls on a face turned to the camera: cos = 0.970.
    expectNear(pixel(draw(scene, lightingSchemeE::white), mid, mid), 25, 99, 42);
    // No lights: only what the surface emits, here nothing.
    expectNear(pixel(draw(scene, lightingSchemeE::none), mid, mid), 0, 0, 0);
    scene.materials[0].emissive = {0.5f, 0.25f, 0, 1};
    expectNear(pixel(draw(scene, lightingSchemeE::none), mid, mid), 128, 64, 0);
    // The scheme's colours tint: red lights on a white square.
    scene.materials[0].emissive = {0, 0, 0, 1};
    scene.materials[0].diffuse = {1, 1, 1, 1};
    const rgb8 red = pixel(draw(scene, lightingSchemeE::red), mid, mid);
    EXPECT_GT(red.r, red.g + 60);

    // The background is exactly the view's colour around the square.
    const render::rgbS background{0.1, 0.2, 0.3};
    expectNear(pixel(draw(scene, lightingSchemeE::white, renderModeE::solid, background), 2, 2), 26, 51, 77, 0);
}

TEST(PosterColourTest, ShadingIdsPickTheNodesShadersAndUnknownOnesFallBackToGrey) {
    // The triangle over the world's upper left, shading id 0, and the one
    // over its lower right, id 1; the node lists red, blue.
    u3d::geometryS g;
    g.positions = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    g.positionIndices = {0, 3, 2, 0, 2, 1};  // upper-left half, lower-right half
    g.shadingIds = {0, 1};
    u3d::sceneS scene = frontSquare(g, {"red", "blue"});
    addMaterial(scene, "red", {1, 0, 0, 1});
    addMaterial(scene, "blue", {0, 0, 1, 1});
    const auto upperLeft = project(frontCamera(), {-0.3, 0.3, 0}, kSize, kSize);
    const auto lowerRight = project(frontCamera(), {0.3, -0.3, 0}, kSize, kSize);
    auto at = [](const render::imageS& image, std::array<double, 2> p) { return pixel(image, int(p[0]), int(p[1])); };

    render::imageS image = draw(scene, lightingSchemeE::headlamp);
    expectNear(at(image, upperLeft), 230, 0, 0);
    expectNear(at(image, lowerRight), 0, 0, 255);

    // An id beyond the node's shaders, and a shader without its material:
    // the neutral grey.
    scene.geometries[0].shadingIds = {5, 0};
    scene.shaders[0].material = "missing";
    image = draw(scene, lightingSchemeE::headlamp);
    expectNear(at(image, upperLeft), 184, 184, 204);
    expectNear(at(image, lowerRight), 184, 184, 204);
}

TEST(PosterColourTest, VertexColoursReplaceTheMaterialsAndBlendAcrossFaces) {
    // Red on the left edge, blue on the right, whatever the material.
    u3d::geometryS g = square("s");
    g.diffuseColors = {{1, 0, 0, 1}, {0, 0, 1, 1}};
    for (uint32_t corner : g.positionIndices)
        g.diffuseIndices.push_back(corner == 0 || corner == 3 ? 0 : 1);
    u3d::sceneS scene = frontSquare(g, {"green"});
    addMaterial(scene, "green", {0, 1, 0, 1});
    const render::imageS image = draw(scene, lightingSchemeE::headlamp);
    savePpm(image, "poster_vertex_colours");

    const auto left = project(frontCamera(), {-0.9, 0, 0}, kSize, kSize);
    const auto right = project(frontCamera(), {0.9, 0, 0}, kSize, kSize);
    const rgb8 l = pixel(image, int(left[0]), int(left[1])), r = pixel(image, int(right[0]), int(right[1]));
    const rgb8 middle = pixel(image, kSize / 2, kSize / 2);
    EXPECT_GT(l.r, 190);
    EXPECT_LT(l.b, 40);
    EXPECT_GT(r.b, 200);
    EXPECT_LT(r.r, 40);
    EXPECT_EQ(l.g, 0);
    // Half way, half of each.
    EXPECT_NEAR(middle.r, 115, 12);
    EXPECT_NEAR(middle.b, 128, 12);

    // Colour indices that point nowhere fall back to the material.
    scene.geometries[0].diffuseIndices.assign(scene.geometries[0].diffuseIndices.size(), 7);
    expectNear(pixel(draw(scene, lightingSchemeE::headlamp), kSize / 2, kSize / 2), 0, 230, 0);
}

TEST(PosterColourTest, NormalsFromTheGeometryShadeAndBothSidesAreLit) {
    // The square's normals lean 60 degrees away from the camera: the
    // headlamp falls on it at cos 60 = 0.5.
    u3d::geometryS g = square("s");
    g.normals = {{0.866f, 0, -0.5f}};
    g.normalIndices.assign(g.positionIndices.size(), 0);
    u3d::sceneS scene = frontSquare(g, {"white"});
    addMaterial(scene, "white", {1, 1, 1, 1});
    const int mid = kSize / 2;
    expectNear(pixel(draw(scene, lightingSchemeE::headlamp), mid, mid), 128, 128, 140);

    // Seen from behind (the square's winding reversed), the normals turn
    // with the face: the same light.
    for (std::size_t i = 0; i < scene.geometries[0].positionIndices.size(); i += 3)
        std::swap(scene.geometries[0].positionIndices[i + 1], scene.geometries[0].positionIndices[i + 2]);
    scene.geometries[0].normals = {{-0.866f, 0, 0.5f}};
    expectNear(pixel(draw(scene, lightingSchemeE::headlamp), mid, mid), 128, 128, 140);

    // Without normals the face's own normal: squarely lit.
    scene.geometries[0].normalIndices.clear();
    expectNear(pixel(draw(scene, lightingSchemeE::headlamp), mid, mid), 230, 230, 255);
}

TEST(PosterColourTest, TranslucentMaterialsLetWhatIsBehindShowThrough) {
    u3d::sceneS scene = frontSquare(square("s"), {"glass"});
    addMaterial(scene, "glass", {0, 0, 0, 1}, 0.25f);
    // A quarter black over white: three quarters of white.
    const rgb8 p = pixel(draw(scene, lightingSchemeE::headlamp), kSize / 2, kSize / 2);
    expectNear(p, 191, 191, 191);
    // Fully transparent material: nothing to see.
    scene.materials[0].opacity = 0;
    expectNear(pixel(draw(scene, lightingSchemeE::headlamp), kSize / 2, kSize / 2), 255, 255, 255, 0);
}

}  // namespace
