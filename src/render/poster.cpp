#include "render/poster.h"
#include "render/posterBands.h"

#include "render/drawScene.h"
#include "render/lighting.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace render {

namespace {

// What one band of samples may take. Smaller bands only mean more passes
// over the scene's chunk boxes, which are cheap.
constexpr std::size_t kBandBytes = std::size_t(16) << 20;

}  // namespace

std::array<int, 2> posterPixels(double widthUnits, double heightUnits, double pixelsPerInch) {
    auto pixels = [&](double units) {
        const double exact = units / 72 * pixelsPerInch;
        return std::isfinite(exact) && exact >= 1 ? int(std::min(exact + 0.5, double(kMaxImageSide))) : 1;
    };
    return {pixels(widthUnits), pixels(heightUnits)};
}

imageS renderPoster(const u3d::sceneS& scene, const cameraS& camera, const drawingS& drawing, int width, int height) {
    return renderPosterInBands(scene, camera, drawing, width, height, kBandBytes);
}

imageS renderPosterInBands(const u3d::sceneS& scene, const cameraS& camera, const drawingS& drawing, int width,
                           int height, std::size_t bandBytes) {
    if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide)
        throw renderError("poster size " + std::to_string(width) + " x " + std::to_string(height) +
                          " is outside 1 to " + std::to_string(kMaxImageSide) + " pixels a side");
    imageS image;
    image.width = width;
    image.height = height;
    image.rgb.resize(std::size_t(width) * std::size_t(height) * 3);
    const rgbF backgroundColour = toRgbF(drawing.background);
    const uint32_t background = packColour(backgroundColour.r, backgroundColour.g, backgroundColour.b);
    for (std::size_t i = 0; i < image.rgb.size(); i += 3)
        for (int c = 0; c < 3; ++c)
            image.rgb[i + std::size_t(c)] = uint8_t(background >> (8 * c));

    const auto view = makeView(camera, width, height);
    if (!view)
        return image;
    const drawItemsS items = prepareItems(scene, *view);
    if (items.items.empty() || !(items.farthest > 0))
        return image;

    // The near plane is automatic, as in a view without explicit clipping:
    // a millionth of the distance the view orbits at (or, without one, of
    // the farthest depth), which cuts away only what touches the camera.
    // Depth is kept as 1 / z, whose precision does not depend on it.
    const double scale = camera.centreOfOrbit > 0 ? camera.centreOfOrbit : double(items.farthest);
    const float nearZ = float(std::clamp(scale * 1e-6, 1e-30, 1e30));
    const sceneDrawerC drawer(items, *view, nearZ, drawing);
    const bool outlines = drawer.traits().outlines;
    sampleBandC band(width, height, outlines, outlines ? kOutlineMargin : 0, bandBytes);
    for (int row = 0; row < height; row += band.pixelRowsPerBand()) {
        band.begin(row, std::min(band.pixelRowsPerBand(), height - row), background);
        drawer.drawBand(band);
        band.resolve(image);
    }
    return image;
}

}  // namespace render
