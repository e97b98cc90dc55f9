// Drawing the prepared scene into one band, in the order a render mode
// needs: opaque faces, their outlines, transparent faces, then edges, dots
// and boxes on top.
#pragma once

#include "render/drawItems.h"
#include "render/outline.h"
#include "render/primitives.h"
#include "render/renderModeTraits.h"

#include <vector>

namespace render {

class sceneDrawerC {
public:
    // Nothing nearer the camera than nearZ is drawn.
    sceneDrawerC(const drawItemsS& items, const viewS& view, float nearZ, const drawingS& drawing);

    const modeTraitsS& traits() const { return traits_; }
    void drawBand(sampleBandC& band) const;

private:
    struct windowS;
    // The image rows a chunk's box covers, or that it lies wholly outside
    // a clipping plane.
    struct chunkRowsS {
        float top, bottom;
        bool culled;
    };
    // What is worked out once per instance: whether it has faces drawn
    // opaque and faces blended, and while they fit the budget its placed
    // vertices and its chunks' rows.
    struct itemCacheS {
        bool opaqueFaces = false;
        bool blendedFaces = false;
        std::vector<cachedVertexS> vertices;  // by position index
        std::vector<chunkRowsS> chunkRows;
    };

    chunkRowsS chunkRows(const drawItemS& item, const boxF& box) const;

    template <int kCorners, class Visit>
    void forEachPrimitive(std::size_t item, const windowS& window, Visit&& visit) const;

    // How opaque the faces of a material are drawn.
    float faceAlpha(const materialColoursS& material) const;
    void drawFaces(std::size_t item, const windowS& window, bool blended) const;
    void drawEdges(std::size_t item, const windowS& window) const;
    void drawVertices(std::size_t item, const windowS& window) const;
    void drawLineSet(std::size_t item, const windowS& window) const;
    void drawPointSet(std::size_t item, const windowS& window) const;
    void drawBox(std::size_t item, const windowS& window, bool faces, bool edges) const;

    // A corner's diffuse colour: its vertex colour, else the material's.
    rgbF diffuse(const drawItemS& item, std::size_t corner, const materialColoursS& material) const;
    // A corner's normal as the geometry gives it, in resource space.
    bool normal(const drawItemS& item, std::size_t corner, float raw[3]) const;
    // The colour of a surface with that normal (raw: in resource space,
    // null for the face's own), lit on the side the camera sees.
    rgbF lit(const drawItemS& item, const float raw[3], bool back, const float faceNormal[3], surfaceS surface) const;
    rgbF litCorner(const drawItemS& item, std::size_t corner, const materialColoursS& material,
                   const float faceNormal[3], bool back) const;
    // The lit colours of a triangle's corners; one colour for all three
    // when the triangle is too small on the image for shading across it to
    // show.
    void litCorners(const drawItemS& item, primitiveS<3>& t, const float faceNormal[3], bool back) const;
    // A line's or point's own colour, unlit (clamped when packed).
    rgbF ownColour(const drawItemS& item, std::size_t corner, const materialColoursS& material) const;

    const drawItemsS& items_;
    modeTraitsS traits_;
    clipperC clipper_;
    lightSetS lights_;
    rgbF auxiliary_;
    rgbF faceColour_;
    rgbF background_;
    float opacity_;
    outlineS outline_;
    // By instance; empty for those beyond the budget.
    std::vector<itemCacheS> caches_;
};

}  // namespace render
