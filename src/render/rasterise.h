// Filling triangles and dots into a band's samples, with a depth test.
#pragma once

#include "render/sampleBand.h"

#include <cstdint>

namespace render {

// A vertex on the image: position in pixels (y downwards), depth as 1 / z
// (which varies linearly across the image within a triangle), colour. Left
// uninitialised by default, as camera-space vertices are.
struct screenVertexS {
    float x;
    float y;
    float w;
    float r;
    float g;
    float b;
};

// How the samples a shape covers are painted.
struct paintS {
    // Below 1 the shape is blended over what is there (alpha blending, as
    // the transparent render modes do) and leaves the depth alone.
    float alpha = 1;
    // Depths are multiplied by this before the test: a little above 1
    // brings edges and dots drawn on a surface in front of it.
    float depthScale = 1;
    // Written into the band's normals where the shape is drawn, when the
    // band keeps normals.
    bool writeNormal = false;
    uint32_t normal = 0;
};

// A triangle of either winding; the fill rule draws a sample on an edge
// shared by two triangles exactly once.
void fillTriangle(sampleBandC& band, const screenVertexS& a, const screenVertexS& b, const screenVertexS& c,
                  const paintS& paint);

// Whether every sample within the triangle's bounding box already holds
// something nearer than the triangle's nearest corner: then nothing of it
// can show, and it need not be shaded. Meant for small triangles, most of
// which in a closed mesh lie behind others.
bool hiddenTriangle(sampleBandC& band, const screenVertexS& a, const screenVertexS& b, const screenVertexS& c);

// A round dot of the centre's depth and colour.
void fillDisc(sampleBandC& band, const screenVertexS& centre, float radius, const paintS& paint);

}  // namespace render
