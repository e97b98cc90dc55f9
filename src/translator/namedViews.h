// The named views a request can add to the default one: the fixed views of
// drawings (front, back, left, right, top, bottom) and an isometric one,
// each looking at the centre of the model's bounding box.
#pragma once

#include "translator/defaultCamera.h"
#include "translator/vectorC3d.h"

// In the order the views are written and a viewer lists them.
enum namedViewE : int {
    kViewFront,
    kViewBack,
    kViewLeft,
    kViewRight,
    kViewTop,
    kViewBottom,
    kViewIsometric,
    kNamedViewCount,
};

// The name a viewer shows for the view ("Front", ...).
const char* namedViewName(namedViewE view);

// The camera of the view for the box: it looks at the box's centre along
// the view's direction from the default view's distance, 1.8 diagonals, so
// that the model fits as in the default view. The views take +y as up, as
// the default view does: the front view looks along -z, the top view down
// along -y with -z up the image.
defaultCameraS namedViewCamera(namedViewE view, const vectorC3d& boxMin, const vectorC3d& boxMax);
