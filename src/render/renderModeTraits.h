// What each render mode draws, as ISO 32000-1 (13.6.4, 3D render modes)
// describes the modes: faces, edges, vertices, bounding boxes, silhouette
// outlines, each in the colours the mode gives it.
#pragma once

#include "render/poster.h"

namespace render {

struct modeTraitsS {
    enum class facesE : uint8_t {
        none,
        lit,          // the geometry's colours, lit
        transparent,  // lit, blended with the view's opacity
        faceColour,   // FC, unlit
        background,   // the background colour: hides what lies behind
    };
    enum class edgesE : uint8_t {
        none,
        auxiliary,       // every edge in AC
        lit,             // every edge, its vertices' lit colours between them
        frontAuxiliary,  // the edges of faces that face the camera, in AC, hidden by faces in front
    };
    enum class verticesE : uint8_t { none, auxiliary, lit };
    enum class boxesE : uint8_t { none, edges, transparentFaces, transparentFacesAndEdges };

    facesE faces = facesE::none;
    edgesE edges = edgesE::none;
    verticesE vertices = verticesE::none;
    boxesE boxes = boxesE::none;
    bool outlines = false;        // silhouette and crease edges in AC
    bool emissiveBoost = false;   // an emissive term that lifts poorly lit areas
    // Line sets and point sets in AC rather than their own colours.
    bool linesInAuxiliary = false;

    // Whether faces drawn opaque take part (the outline needs them).
    bool opaqueFaces() const { return faces == facesE::lit || faces == facesE::faceColour || faces == facesE::background; }
};

modeTraitsS traitsOf(renderModeE mode);

}  // namespace render
