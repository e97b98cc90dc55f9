// The poster: a still picture of a scene as a 3D view first shows it, for
// readers that cannot show the 3D artwork itself. Software only, one thread,
// no state outside the call.
#pragma once

#include "u3d/scene.h"

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

namespace render {

// The render modes a 3D view can name, one to one and in the same order as
// their names (Solid, SolidWireframe, ...).
enum class renderModeE : uint8_t {
    solid,
    solidWireframe,
    transparent,
    transparentWireframe,
    boundingBox,
    transparentBoundingBox,
    transparentBoundingBoxOutline,
    wireframe,
    shadedWireframe,
    hiddenWireframe,
    vertices,
    shadedVertices,
    illustration,
    solidOutline,
    shadedIllustration,
};

// The lighting schemes a 3D view can name (Artwork, None, White, ...).
enum class lightingSchemeE : uint8_t {
    artwork,
    none,
    white,
    day,
    night,
    hard,
    primary,
    blue,
    red,
    cube,
    cad,
    headlamp,
};

// A colour on the 0 to 1 scale, as the view's colour arrays give it.
struct rgbS {
    double r = 0;
    double g = 0;
    double b = 0;
};

// The camera exactly as a 3D view states it (ISO 32000-1, 13.6.4, the 3D
// view dictionary): cameraToWorld is the C2W array, the camera's x, y and z
// axes in world coordinates and then its position; centreOfOrbit is CO, the
// distance along the view at which the view turns. A still picture depends
// on CO only through the automatic near plane, which is set relative to it.
struct cameraS {
    std::array<double, 12> cameraToWorld{};
    double centreOfOrbit = 0;
};

// What the view says about drawing, with the defaults of its render mode
// dictionary (ISO 32000-1, 13.6.4, 3D render modes): AC black, FC the
// background, O 0.5, CV 45 degrees.
struct drawingS {
    renderModeE mode = renderModeE::solidOutline;
    lightingSchemeE lighting = lightingSchemeE::white;
    rgbS background{1, 1, 1};
    rgbS auxiliary{0, 0, 0};    // AC: edges, outlines, points
    std::optional<rgbS> face;   // FC: faces of Illustration and of bounding boxes; the background when absent
    double opacity = 0.5;       // O: of the transparent modes
    double creaseDegrees = 45;  // CV: faces meeting at this angle or more are outlined
};

// 8-bit RGB, rows from top to bottom, three bytes a pixel.
struct imageS {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

// A request the renderer cannot carry out: an image size out of range.
class renderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Larger images are refused (in either direction): 8192 pixels are 750
// pixels per inch across the default view box, and 192 MiB of image.
inline constexpr int kMaxImageSide = 8192;

// Pixels for a view box of the given size in PDF units at this many pixels
// per inch, rounded to the nearest pixel and at least 1.
std::array<int, 2> posterPixels(double widthUnits, double heightUnits, double pixelsPerInch);

// Draws the scene into a width x height image that fills the annotation's
// view box. The view has no projection dictionary, so the projection is the
// standard's default: perspective with a 90-degree field of view across the
// width. A camera that cannot be inverted or has non-finite numbers, and a
// scene with nothing in front of the camera, give the background alone.
// Throws renderError for a size outside 1..kMaxImageSide and u3d::sceneError
// for a scene whose nodes cannot be placed.
imageS renderPoster(const u3d::sceneS& scene, const cameraS& camera, const drawingS& drawing, int width, int height);

}  // namespace render
