// The poster: a picture of the default view for the annotation's normal
// appearance, which is what viewers without 3D, printouts and a 3D viewer
// before activation show. The translator is where the U3D reader and the
// renderer meet the request.
#pragma once

#include "render/poster.h"
#include "translator/defaultCamera.h"

class str;
struct conversionOptionsS;

// Decodes the U3D file and draws it as the default view shows it (its
// camera, render mode, lighting scheme and background) into an image of
// width x height pixels (render::posterPixels). The decoded model is gone when this returns. Throws
// conversionErrorC when the model does not decode: a poster that leaves
// out what did not decode would show another model than the PDF holds.
render::imageS drawPoster(const str& u3dPath, const defaultCameraS& camera, const conversionOptionsS& options,
                          int width, int height);
