#include "render/renderModeTraits.h"

namespace render {

modeTraitsS traitsOf(renderModeE mode) {
    using faces = modeTraitsS::facesE;
    using edges = modeTraitsS::edgesE;
    using vertices = modeTraitsS::verticesE;
    using boxes = modeTraitsS::boxesE;
    modeTraitsS t;
    switch (mode) {
    case renderModeE::solid: t.faces = faces::lit; break;
    case renderModeE::solidWireframe:
        t.faces = faces::lit;
        t.edges = edges::auxiliary;
        break;
    case renderModeE::transparent: t.faces = faces::transparent; break;
    case renderModeE::transparentWireframe:
        t.faces = faces::transparent;
        t.edges = edges::auxiliary;
        break;
    case renderModeE::boundingBox: t.boxes = boxes::edges; break;
    case renderModeE::transparentBoundingBox: t.boxes = boxes::transparentFaces; break;
    case renderModeE::transparentBoundingBoxOutline: t.boxes = boxes::transparentFacesAndEdges; break;
    case renderModeE::wireframe:
        t.edges = edges::auxiliary;
        t.linesInAuxiliary = true;
        break;
    case renderModeE::shadedWireframe: t.edges = edges::lit; break;
    case renderModeE::hiddenWireframe:
        t.faces = faces::background;
        t.edges = edges::frontAuxiliary;
        t.linesInAuxiliary = true;
        break;
    case renderModeE::vertices:
        t.vertices = vertices::auxiliary;
        t.linesInAuxiliary = true;
        break;
    case renderModeE::shadedVertices: t.vertices = vertices::lit; break;
    case renderModeE::illustration:
        t.faces = faces::faceColour;
        t.outlines = true;
        t.linesInAuxiliary = true;
        break;
    case renderModeE::solidOutline:
        t.faces = faces::lit;
        t.outlines = true;
        break;
    case renderModeE::shadedIllustration:
        t.faces = faces::lit;
        t.outlines = true;
        t.emissiveBoost = true;
        break;
    }
    return t;
}

}  // namespace render
