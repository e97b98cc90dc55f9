// The poster drawn in bands of a chosen size: renderPoster with its band
// budget made a parameter, so that tests can check that where the bands
// meet does not show.
#pragma once

#include "render/poster.h"

#include <cstddef>

namespace render {

// As renderPoster, with each band taking about bandBytes (at least one
// pixel row, whatever the budget).
imageS renderPosterInBands(const u3d::sceneS& scene, const cameraS& camera, const drawingS& drawing, int width,
                           int height, std::size_t bandBytes);

}  // namespace render
