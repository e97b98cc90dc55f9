// The lights of a lighting scheme and how a surface point is lit by them.
#pragma once

#include "render/poster.h"

namespace render {

struct rgbF {
    float r = 0;
    float g = 0;
    float b = 0;
};

// A caller's colour, clamped to 0..1 (what is not a number taken as 0).
inline rgbF toRgbF(const rgbS& c) {
    auto unit = [](double v) { return v > 0 ? (v < 1 ? float(v) : 1.0f) : 0.0f; };
    return {unit(c.r), unit(c.g), unit(c.b)};
}
inline rgbF toRgbF(const u3d::color4f& c) { return {c.r, c.g, c.b}; }

// Infinite lights in camera space, each as the unit vector towards the light
// and its colour, and an ambient term.
struct lightSetS {
    static constexpr int kMaxLights = 6;
    struct lightS {
        float toLight[3] = {0, 0, -1};
        rgbF colour;
    };
    lightS lights[kMaxLights];
    int count = 0;
    rgbF ambient;
    // Whether the ambient term lights the material's ambient colour (as in
    // the artwork's own lighting model) or its diffuse colour (as the named
    // schemes say).
    bool ambientLightsMaterialAmbient = false;
};

lightSetS lightSetFor(lightingSchemeE scheme);

// What a surface point reflects: the colours it is lit with.
struct surfaceS {
    rgbF diffuse;
    rgbF ambient;
    rgbF emissive;
};

// The colour of a point with unit normal n (camera space, turned towards
// the camera), clamped to 0..1.
rgbF shade(const lightSetS& lights, const float n[3], const surfaceS& surface);

}  // namespace render
