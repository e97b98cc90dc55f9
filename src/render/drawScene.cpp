#include "render/drawScene.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace render {

namespace {

// How far shapes reach beyond their vertices, for passing over chunks.
constexpr float kReach = kDotRadius + 1;
// Edges and dots drawn on a face are brought nearer by this factor on
// 1 / z, so that the face they lie on does not hide them.
constexpr float kOnTop = 1.01f;
// Faces this opaque are drawn as opaque.
constexpr float kOpaque = 1 - 1.0f / 512;
// What the added emissive term of the shaded illustration mode adds, as a
// share of the surface's own colour.
constexpr float kIllustrationEmissive = 0.35f;
// A surface turned away from the camera by up to atan(20), about 87
// degrees, changes its depth between neighbouring samples by less than this
// many times 1 / (focal length in pixels); larger changes are jumps.
constexpr float kSteepestSlope = 20;
// Triangles at most this many pixels across are shaded once, at their
// middle: the difference from shading each corner cannot show.
constexpr float kSmallTriangle = 2;
// What the instances' caches may take in all: instances beyond it have
// their corners placed one by one each time they are drawn.
constexpr std::size_t kCacheBudget = std::size_t(16) << 20;

paintS onTop() {
    paintS paint;
    paint.depthScale = kOnTop;
    return paint;
}

}  // namespace

struct sceneDrawerC::windowS {
    sampleBandC& band;
    float top;  // pixels
    float bottom;
};

sceneDrawerC::sceneDrawerC(const drawItemsS& items, const viewS& view, float nearZ, const drawingS& drawing)
    : items_(items),
      traits_(traitsOf(drawing.mode)),
      clipper_(view, nearZ),
      lights_(lightSetFor(drawing.lighting)),
      auxiliary_(toRgbF(drawing.auxiliary)),
      faceColour_(toRgbF(drawing.face.value_or(drawing.background))),
      background_(toRgbF(drawing.background)),
      opacity_(std::isfinite(drawing.opacity) ? float(std::clamp(drawing.opacity, 0.0, 1.0)) : 0.5f) {
    outline_.colour = packColour(auxiliary_.r, auxiliary_.g, auxiliary_.b);
    const double crease = std::isfinite(drawing.creaseDegrees) ? drawing.creaseDegrees : 45;
    outline_.creaseCosine = float(std::cos(std::clamp(crease, 0.0, 180.0) * 3.14159265358979323846 / 180));
    outline_.depthJump = float(kSteepestSlope / view.focal);

    // A vertex is shared by about six triangles: placing it once saves the
    // transform, the clipping test and the division five times over. The
    // chunks' rows, likewise, are worked out once rather than per band.
    caches_.resize(items.items.size());
    std::size_t budget = kCacheBudget;
    for (std::size_t i = 0; i < items.items.size(); ++i) {
        const drawItemS& item = items.items[i];
        for (const materialColoursS& material : *item.materials) {
            const float alpha = faceAlpha(material);
            (alpha < kOpaque ? caches_[i].blendedFaces : caches_[i].opaqueFaces) |= alpha > 0;
        }
        const auto& positions = item.info->geometry->positions;
        const std::size_t bytes =
            positions.size() * sizeof(cachedVertexS) + item.info->chunkBoxes.size() * sizeof(chunkRowsS);
        if (bytes > budget)
            continue;
        budget -= bytes;
        itemCacheS& cache = caches_[i];
        cache.vertices.reserve(positions.size());
        for (const u3d::vec3f& p : positions) {
            float camera[3];
            item.toCamera.apply(p.x, p.y, p.z, camera);
            cache.vertices.push_back(cached(placeVertex(clipper_, camera)));
        }
        cache.chunkRows.reserve(item.info->chunkBoxes.size());
        for (const boxF& box : item.info->chunkBoxes)
            cache.chunkRows.push_back(chunkRows(item, box));
    }
}

sceneDrawerC::chunkRowsS sceneDrawerC::chunkRows(const drawItemS& item, const boxF& box) const {
    if (box.empty)
        return {0, 0, true};
    uint32_t all = ~0u, any = 0;
    float top = 0, bottom = 0;
    for (int corner = 0; corner < 8; ++corner) {
        float p[3];
        item.toCamera.apply(corner & 1 ? box.max[0] : box.min[0], corner & 2 ? box.max[1] : box.min[1],
                            corner & 4 ? box.max[2] : box.min[2], p);
        const placedVertexS v = placeVertex(clipper_, p);
        all &= v.outside;
        any |= v.outside;
        top = corner == 0 ? v.screenY : std::min(top, v.screenY);
        bottom = corner == 0 ? v.screenY : std::max(bottom, v.screenY);
    }
    if (all != 0)
        return {0, 0, true};
    // A box reaching past a plane may cover any row once clipped.
    if (any != 0)
        return {-std::numeric_limits<float>::infinity(), std::numeric_limits<float>::infinity(), false};
    return {top, bottom, false};
}

template <int kCorners, class Visit>
void sceneDrawerC::forEachPrimitive(std::size_t itemIndex, const windowS& window, Visit&& visit) const {
    const drawItemS& item = items_.items[itemIndex];
    const std::vector<cachedVertexS>& placed = caches_[itemIndex].vertices;
    const std::vector<chunkRowsS>& rows = caches_[itemIndex].chunkRows;
    const geometryInfoS& info = *item.info;
    const u3d::geometryS& g = *info.geometry;
    for (std::size_t chunk = 0; chunk < info.chunkBoxes.size(); ++chunk) {
        // Chunks whose box misses the band are passed over.
        const chunkRowsS r = rows.empty() ? chunkRows(item, info.chunkBoxes[chunk]) : rows[chunk];
        if (r.culled || r.bottom < window.top || r.top > window.bottom)
            continue;

        const std::size_t end = std::min(info.primitives, (chunk + 1) * geometryInfoS::kChunk);
        for (std::size_t index = chunk * geometryInfoS::kChunk; index < end; ++index) {
            primitiveS<kCorners> p;
            p.index = index;
            uint32_t inAll = ~0u, inAny = 0;
            bool valid = true;
            for (int k = 0; k < kCorners && valid; ++k) {
                const uint32_t position = g.positionIndices[index * kCorners + k];
                valid = position < g.positions.size();
                if (!valid)
                    break;
                placedVertexS v;
                if (!placed.empty() && placed[position].outside == 0) {
                    v = uncached(clipper_, placed[position]);
                } else {
                    const u3d::vec3f& raw = g.positions[position];
                    float camera[3];
                    item.toCamera.apply(raw.x, raw.y, raw.z, camera);
                    v = placeVertex(clipper_, camera);
                }
                p.setCorner(k, v);
                inAll &= v.outside;
                inAny |= v.outside;
            }
            if (!valid || inAll != 0 || (inAny & clipperC::kInvalid))
                continue;
            p.clipped = inAny != 0;
            if (!p.clipped) {
                float top = p.screen[0].y, bottom = p.screen[0].y;
                for (int k = 1; k < kCorners; ++k) {
                    top = std::min(top, p.screen[k].y);
                    bottom = std::max(bottom, p.screen[k].y);
                }
                if (bottom < window.top || top > window.bottom)
                    continue;
            }
            visit(p);
        }
    }
}

rgbF sceneDrawerC::diffuse(const drawItemS& item, std::size_t corner, const materialColoursS& material) const {
    const u3d::geometryS& g = *item.info->geometry;
    if (item.info->colours) {
        const uint32_t index = g.diffuseIndices[corner];
        if (index < g.diffuseColors.size())
            return toRgbF(g.diffuseColors[index]);
    }
    return material.surface.diffuse;
}

bool sceneDrawerC::normal(const drawItemS& item, std::size_t corner, float raw[3]) const {
    const u3d::geometryS& g = *item.info->geometry;
    if (!item.info->normals)
        return false;
    const uint32_t index = g.normalIndices[corner];
    if (index >= g.normals.size())
        return false;
    const u3d::vec3f& n = g.normals[index];
    raw[0] = n.x;
    raw[1] = n.y;
    raw[2] = n.z;
    return true;
}

rgbF sceneDrawerC::lit(const drawItemS& item, const float raw[3], bool back, const float faceNormal[3],
                       surfaceS surface) const {
    float n[3] = {faceNormal[0], faceNormal[1], faceNormal[2]};
    if (raw) {
        float m[3];
        item.normalToCamera.applyLinear(raw[0], raw[1], raw[2], m);
        const float length = std::sqrt(m[0] * m[0] + m[1] * m[1] + m[2] * m[2]);
        // Both sides of a face are lit: its back with the normals reversed.
        if (length > 0 && std::isfinite(length)) {
            const float scale = (back ? -1.0f : 1.0f) / length;
            for (int i = 0; i < 3; ++i)
                n[i] = m[i] * scale;
        }
    }
    if (traits_.emissiveBoost) {
        surface.emissive.r += kIllustrationEmissive * surface.diffuse.r;
        surface.emissive.g += kIllustrationEmissive * surface.diffuse.g;
        surface.emissive.b += kIllustrationEmissive * surface.diffuse.b;
    }
    return shade(lights_, n, surface);
}

rgbF sceneDrawerC::litCorner(const drawItemS& item, std::size_t corner, const materialColoursS& material,
                             const float faceNormal[3], bool back) const {
    surfaceS surface = material.surface;
    surface.diffuse = diffuse(item, corner, material);
    float raw[3];
    return lit(item, normal(item, corner, raw) ? raw : nullptr, back, faceNormal, surface);
}

void sceneDrawerC::litCorners(const drawItemS& item, primitiveS<3>& t, const float faceNormal[3], bool back) const {
    const materialColoursS& material = item.material(t.index);
    const float width = std::max({t.screen[0].x, t.screen[1].x, t.screen[2].x}) -
                        std::min({t.screen[0].x, t.screen[1].x, t.screen[2].x});
    const float height = std::max({t.screen[0].y, t.screen[1].y, t.screen[2].y}) -
                         std::min({t.screen[0].y, t.screen[1].y, t.screen[2].y});
    if (t.clipped || width > kSmallTriangle || height > kSmallTriangle) {
        for (int k = 0; k < 3; ++k)
            t.setColour(k, litCorner(item, t.index * 3 + k, material, faceNormal, back));
        return;
    }
    // Shaded once, with the corners' colours and normals summed.
    surfaceS surface = material.surface;
    if (item.info->colours) {
        surface.diffuse = {};
        for (int k = 0; k < 3; ++k) {
            const rgbF c = diffuse(item, t.index * 3 + k, material);
            surface.diffuse = {surface.diffuse.r + c.r / 3, surface.diffuse.g + c.g / 3, surface.diffuse.b + c.b / 3};
        }
    }
    float sum[3] = {0, 0, 0};
    bool normals = item.info->normals;
    for (int k = 0; k < 3 && normals; ++k) {
        float raw[3] = {0, 0, 0};
        normals = normal(item, t.index * 3 + k, raw);
        for (int i = 0; i < 3; ++i)
            sum[i] += raw[i];
    }
    const rgbF colour = lit(item, normals ? sum : nullptr, back, faceNormal, surface);
    for (int k = 0; k < 3; ++k)
        t.setColour(k, colour);
}

rgbF sceneDrawerC::ownColour(const drawItemS& item, std::size_t corner, const materialColoursS& material) const {
    const rgbF c = diffuse(item, corner, material);
    const rgbF& e = material.surface.emissive;
    return {c.r + e.r, c.g + e.g, c.b + e.b};
}

float sceneDrawerC::faceAlpha(const materialColoursS& material) const {
    using faces = modeTraitsS::facesE;
    if (traits_.faces == faces::lit)
        return material.opacity;
    if (traits_.faces == faces::transparent)
        return material.opacity * opacity_;
    return 1;
}

void sceneDrawerC::drawFaces(std::size_t itemIndex, const windowS& window, bool blended) const {
    using faces = modeTraitsS::facesE;
    const drawItemS& item = items_.items[itemIndex];
    if (!(blended ? caches_[itemIndex].blendedFaces : caches_[itemIndex].opaqueFaces))
        return;
    forEachPrimitive<3>(itemIndex, window, [&](primitiveS<3>& t) {
        const float alpha = faceAlpha(item.material(t.index));
        if (blended != (alpha < kOpaque) || !(alpha > 0))
            return;
        if (!blended && !t.clipped && hiddenTriangle(window.band, t.screen[0], t.screen[1], t.screen[2]))
            return;
        float n[3];
        bool back;
        if (!faceNormal(t, item.mirror, n, back))
            return;
        if (traits_.faces == faces::faceColour || traits_.faces == faces::background)
            for (int k = 0; k < 3; ++k)
                t.setColour(k, traits_.faces == faces::faceColour ? faceColour_ : background_);
        else
            litCorners(item, t, n, back);
        paintS paint;
        paint.alpha = blended ? alpha : 1;
        paint.writeNormal = !blended && traits_.outlines;
        paint.normal = packNormal(n);
        fillPrimitive(window.band, clipper_, t, paint);
    });
}

void sceneDrawerC::drawEdges(std::size_t itemIndex, const windowS& window) const {
    using edges = modeTraitsS::edgesE;
    const drawItemS& item = items_.items[itemIndex];
    forEachPrimitive<3>(itemIndex, window, [&](primitiveS<3>& t) {
        float n[3] = {0, 0, -1};
        bool back = false;
        const bool flat = !faceNormal(t, item.mirror, n, back);
        if (traits_.edges == edges::frontAuxiliary && (flat || back))
            return;
        if (traits_.edges == edges::lit)
            litCorners(item, t, n, back);
        else
            for (int k = 0; k < 3; ++k)
                t.setColour(k, auxiliary_);
        for (int k = 0; k < 3; ++k) {
            const int next = (k + 1) % 3;
            if (t.clipped)
                fillSegment(window.band, clipper_, t.camera[k], t.camera[next], onTop());
            else
                fillSegment(window.band, t.screen[k], t.screen[next], onTop());
        }
    });
}

void sceneDrawerC::drawVertices(std::size_t itemIndex, const windowS& window) const {
    const drawItemS& item = items_.items[itemIndex];
    const bool lit = traits_.vertices == modeTraitsS::verticesE::lit;
    forEachPrimitive<3>(itemIndex, window, [&](primitiveS<3>& t) {
        float n[3] = {0, 0, -1};
        bool back = false;
        faceNormal(t, item.mirror, n, back);
        const materialColoursS& material = item.material(t.index);
        for (int k = 0; k < 3; ++k) {
            t.setColour(k, lit ? litCorner(item, t.index * 3 + k, material, n, back) : auxiliary_);
            fillDot(window.band, clipper_, t.camera[k], onTop());
        }
    });
}

void sceneDrawerC::drawLineSet(std::size_t itemIndex, const windowS& window) const {
    const drawItemS& item = items_.items[itemIndex];
    const bool asDots = traits_.vertices != modeTraitsS::verticesE::none;
    forEachPrimitive<2>(itemIndex, window, [&](primitiveS<2>& line) {
        for (int k = 0; k < 2; ++k)
            line.setColour(k, traits_.linesInAuxiliary ? auxiliary_
                                                       : ownColour(item, line.index * 2 + k, item.material(line.index)));
        if (asDots) {
            fillDot(window.band, clipper_, line.camera[0], onTop());
            fillDot(window.band, clipper_, line.camera[1], onTop());
        } else {
            fillSegment(window.band, clipper_, line.camera[0], line.camera[1], onTop());
        }
    });
}

void sceneDrawerC::drawPointSet(std::size_t itemIndex, const windowS& window) const {
    const drawItemS& item = items_.items[itemIndex];
    forEachPrimitive<1>(itemIndex, window, [&](primitiveS<1>& point) {
        point.setColour(0, traits_.linesInAuxiliary ? auxiliary_
                                                    : ownColour(item, point.index, item.material(point.index)));
        fillDot(window.band, clipper_, point.camera[0], onTop());
    });
}

void sceneDrawerC::drawBox(std::size_t itemIndex, const windowS& window, bool faces, bool edges) const {
    const drawItemS& item = items_.items[itemIndex];
    const boxF& box = item.info->bounds;
    placedVertexS corners[8];
    for (int i = 0; i < 8; ++i) {
        float p[3];
        item.toCamera.apply(i & 1 ? box.max[0] : box.min[0], i & 2 ? box.max[1] : box.min[1],
                            i & 4 ? box.max[2] : box.min[2], p);
        corners[i] = placeVertex(clipper_, p);
    }
    // A box's sides and edges as primitives of its corners.
    auto make = [&](auto& p, std::initializer_list<int> which) {
        uint32_t all = ~0u, any = 0;
        int k = 0;
        for (int i : which) {
            p.setCorner(k++, corners[i]);
            all &= corners[i].outside;
            any |= corners[i].outside;
        }
        p.clipped = any != 0;
        return all == 0 && !(any & clipperC::kInvalid);
    };
    if (faces) {
        paintS paint;
        paint.alpha = opacity_;
        for (int axis = 0; axis < 3 && paint.alpha > 0; ++axis)
            for (int side = 0; side < 2; ++side) {
                // The four corners with this axis's bit fixed, around the side.
                const int a = 1 << axis, b = 1 << (axis + 1) % 3, c = 1 << (axis + 2) % 3;
                const int base = side ? a : 0;
                for (int half = 0; half < 2; ++half) {
                    primitiveS<3> t;
                    float n[3];
                    bool back;
                    if (!make(t, {base, half ? base | b | c : base | b, half ? base | c : base | b | c}) ||
                        !faceNormal(t, item.mirror, n, back))
                        continue;
                    const rgbF lit = shade(lights_, n, {faceColour_, faceColour_, {}});
                    for (int k = 0; k < 3; ++k)
                        t.setColour(k, lit);
                    fillPrimitive(window.band, clipper_, t, paint);
                }
            }
    }
    if (edges)
        for (int i = 0; i < 8; ++i)
            for (int bit = 1; bit < 8; bit <<= 1) {
                primitiveS<2> line;
                if ((i & bit) || !make(line, {i, i | bit}))
                    continue;
                line.setColour(0, auxiliary_);
                line.setColour(1, auxiliary_);
                fillSegment(window.band, clipper_, line.camera[0], line.camera[1], onTop());
            }
}

void sceneDrawerC::drawBand(sampleBandC& band) const {
    using faces = modeTraitsS::facesE;
    using boxes = modeTraitsS::boxesE;
    const windowS window{band, float(band.firstSampleRow()) / kSamples - kReach,
                         float(band.endSampleRow()) / kSamples + kReach};
    auto each = [&](u3d::geometryKindE kind, auto&& draw) {
        for (std::size_t i = 0; i < items_.items.size(); ++i)
            if (items_.items[i].info->geometry->kind == kind)
                draw(i);
    };
    const auto mesh = u3d::geometryKindE::mesh;

    if (traits_.boxes != boxes::none) {
        // Every node, whatever its geometry, shows as its box.
        const bool faces = traits_.boxes != boxes::edges, edges = traits_.boxes != boxes::transparentFaces;
        for (std::size_t i = 0; i < items_.items.size(); ++i)
            drawBox(i, window, faces, edges);
        return;
    }
    if (traits_.faces != faces::none) {
        each(mesh, [&](std::size_t i) { drawFaces(i, window, false); });
        if (traits_.outlines)
            drawOutlines(band, outline_);
        each(mesh, [&](std::size_t i) { drawFaces(i, window, true); });
    }
    if (traits_.edges != modeTraitsS::edgesE::none)
        each(mesh, [&](std::size_t i) { drawEdges(i, window); });
    if (traits_.vertices != modeTraitsS::verticesE::none)
        each(mesh, [&](std::size_t i) { drawVertices(i, window); });
    each(u3d::geometryKindE::lineSet, [&](std::size_t i) { drawLineSet(i, window); });
    each(u3d::geometryKindE::pointSet, [&](std::size_t i) { drawPointSet(i, window); });
}

}  // namespace render
