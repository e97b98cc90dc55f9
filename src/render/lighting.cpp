#include "render/lighting.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

// One light as a 3D lighting scheme lists it: its colour and the direction
// its rays travel. The schemes' lights are infinite lights whose rays are
// emitted along that vector (ISO 32000-1, 13.6.4, 3D lighting scheme
// dictionaries); they are taken in camera space, so that the picture looks
// the same whichever way the model is turned. A zero direction is a light
// attached to the camera: it shines along the view.
struct schemeLightS {
    rgbF colour;
    float direction[3];
};

struct schemeS {
    const schemeLightS* lights;
    int count;
    rgbF ambient;
};

// The three-light schemes share their directions.
constexpr float kLeft[3] = {-2.0f, -1.5f, -0.5f};
constexpr float kRight[3] = {2.0f, 1.1f, -2.5f};
constexpr float kAhead[3] = {0.0f, 0.0f, 2.0f};

constexpr schemeLightS light(rgbF colour, const float (&d)[3]) { return {colour, {d[0], d[1], d[2]}}; }

constexpr schemeLightS kWhite[] = {light({0.38f, 0.38f, 0.45f}, kLeft),
                                   light({0.6f, 0.6f, 0.67f}, kRight),
                                   {{0.5f, 0.5f, 0.57f}, {-0.5f, 0.0f, 2.0f}}};
constexpr schemeLightS kDay[] = {light({0.5f, 0.5f, 0.5f}, kLeft),
                                 light({0.8f, 0.8f, 0.9f}, kRight),
                                 {{0.9f, 0.9f, 0.9f}, {0.02f, 0.01f, 2.0f}}};
constexpr schemeLightS kNight[] = {light({1.0f, 0.75f, 0.39f}, kLeft),
                                   light({0.31f, 0.47f, 0.55f}, kRight),
                                   light({0.5f, 0.5f, 1.0f}, kAhead)};
constexpr schemeLightS kHard[] = {{{0.5f, 0.5f, 0.5f}, {-1.5f, -1.5f, -1.5f}},
                                  {{0.8f, 0.8f, 0.9f}, {1.5f, 1.5f, -1.5f}},
                                  {{0.9f, 0.9f, 0.9f}, {-0.5f, 0.0f, 2.0f}}};
constexpr schemeLightS kPrimary[] = {light({1.0f, 0.2f, 0.5f}, kLeft),
                                     light({0.2f, 1.0f, 0.5f}, kRight),
                                     light({0.0f, 0.0f, 1.0f}, kAhead)};
constexpr schemeLightS kBlue[] = {light({0.4f, 0.4f, 0.7f}, kLeft),
                                  light({0.75f, 0.75f, 0.95f}, kRight),
                                  light({0.7f, 0.7f, 0.95f}, kAhead)};
constexpr schemeLightS kRed[] = {light({0.8f, 0.3f, 0.4f}, kLeft),
                                 light({0.95f, 0.5f, 0.7f}, kRight),
                                 light({0.95f, 0.4f, 0.5f}, kAhead)};
// Six lights along the axes, each tilted a little off them.
constexpr schemeLightS kCube[] = {
    {{0.4f, 0.4f, 0.4f}, {1.0f, 0.01f, 0.01f}},  {{0.4f, 0.4f, 0.4f}, {0.01f, 1.0f, 0.01f}},
    {{0.4f, 0.4f, 0.4f}, {0.01f, 0.01f, 1.0f}},  {{0.4f, 0.4f, 0.4f}, {-1.0f, 0.01f, 0.01f}},
    {{0.4f, 0.4f, 0.4f}, {0.01f, -1.0f, 0.01f}}, {{0.4f, 0.4f, 0.4f}, {0.01f, 0.01f, -1.0f}}};
constexpr schemeLightS kCad[] = {{{0.72f, 0.72f, 0.81f}, {0.0f, 0.0f, 0.0f}},
                                 light({0.2f, 0.2f, 0.2f}, kLeft),
                                 light({0.32f, 0.32f, 0.32f}, kRight),
                                 {{0.36f, 0.36f, 0.36f}, {0.04f, 0.01f, 2.0f}}};
constexpr schemeLightS kHeadlamp[] = {{{0.8f, 0.8f, 0.9f}, {0.0f, 0.0f, 0.0f}}};
// The artwork's own lights are not part of the scene model, so a neutral
// light from the camera stands in for them, with the artwork lighting
// model's ambient term on the material's ambient colour.
constexpr schemeLightS kArtwork[] = {{{0.8f, 0.8f, 0.8f}, {0.0f, 0.0f, 0.0f}}};

template <std::size_t N>
constexpr schemeS scheme(const schemeLightS (&lights)[N], rgbF ambient = {}) {
    return {lights, int(N), ambient};
}

schemeS schemeOf(lightingSchemeE which) {
    switch (which) {
    case lightingSchemeE::artwork: return scheme(kArtwork, {0.25f, 0.25f, 0.25f});
    case lightingSchemeE::none: return {nullptr, 0, {}};
    case lightingSchemeE::white: return scheme(kWhite);
    case lightingSchemeE::day: return scheme(kDay);
    case lightingSchemeE::night: return scheme(kNight);
    case lightingSchemeE::hard: return scheme(kHard, {0.5f, 0.5f, 0.5f});
    case lightingSchemeE::primary: return scheme(kPrimary);
    case lightingSchemeE::blue: return scheme(kBlue);
    case lightingSchemeE::red: return scheme(kRed);
    case lightingSchemeE::cube: return scheme(kCube);
    case lightingSchemeE::cad: return scheme(kCad);
    case lightingSchemeE::headlamp: return scheme(kHeadlamp, {0.1f, 0.1f, 0.1f});
    }
    return {nullptr, 0, {}};
}

}  // namespace

lightSetS lightSetFor(lightingSchemeE which) {
    const schemeS s = schemeOf(which);
    lightSetS set;
    set.count = s.count;
    set.ambient = s.ambient;
    set.ambientLightsMaterialAmbient = which == lightingSchemeE::artwork;
    for (int i = 0; i < s.count; ++i) {
        const float* d = s.lights[i].direction;
        float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        float travel[3] = {d[0], d[1], d[2]};
        if (length == 0) {
            travel[2] = length = 1;  // attached to the camera: along the view
        }
        for (int k = 0; k < 3; ++k)
            set.lights[i].toLight[k] = -travel[k] / length;
        set.lights[i].colour = s.lights[i].colour;
    }
    return set;
}

rgbF shade(const lightSetS& lights, const float n[3], const surfaceS& surface) {
    float r = 0, g = 0, b = 0;
    for (int i = 0; i < lights.count; ++i) {
        const auto& light = lights.lights[i];
        const float facing = n[0] * light.toLight[0] + n[1] * light.toLight[1] + n[2] * light.toLight[2];
        if (facing > 0) {
            r += facing * light.colour.r;
            g += facing * light.colour.g;
            b += facing * light.colour.b;
        }
    }
    const rgbF& lit = lights.ambientLightsMaterialAmbient ? surface.ambient : surface.diffuse;
    r = r * surface.diffuse.r + lights.ambient.r * lit.r + surface.emissive.r;
    g = g * surface.diffuse.g + lights.ambient.g * lit.g + surface.emissive.g;
    b = b * surface.diffuse.b + lights.ambient.b * lit.b + surface.emissive.b;
    return {std::clamp(r, 0.0f, 1.0f), std::clamp(g, 0.0f, 1.0f), std::clamp(b, 0.0f, 1.0f)};
}

}  // namespace render
