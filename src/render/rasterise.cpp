#include "render/rasterise.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

// Vertices are snapped to 1/256 pixel; edge functions are evaluated exactly
// in 64-bit integers on that grid, which is what makes the fill rule hold.
constexpr float kSubpixels = 256;

int64_t snap(float v) {
    const float scaled = v * kSubpixels;
    return int64_t(scaled + (scaled >= 0 ? 0.5f : -0.5f));
}

// Sample row s lies at y = (s + 1/2) / kSamples pixels: on the fixed-point
// grid, kRowPitch * s + kRowPitch / 2. Rows are never negative.
constexpr int64_t kRowPitch = int64_t(kSubpixels) / kSamples;
static_assert(kRowPitch * kSamples == int64_t(kSubpixels) && kRowPitch % 2 == 0);
static_assert((kSamples & (kSamples - 1)) == 0, "sample rows are picked by a mask");
int64_t sampleRowY(int row) { return kRowPitch * row + kRowPitch / 2; }
float sampleOffset(int row) { return kSampleOffsets[row & (kSamples - 1)]; }
int64_t sampleRowX(int row) { return int64_t(sampleOffset(row) * kSubpixels); }
float sampleRowYf(int row) { return (float(row) + 0.5f) / kSamples; }

// Floor and ceiling of a / 2^bits for either sign (>> on a negative value
// is an arithmetic shift).
constexpr int bitsOf(int64_t powerOfTwo) { return powerOfTwo > 1 ? 1 + bitsOf(powerOfTwo / 2) : 0; }
constexpr int kSubpixelBits = bitsOf(int64_t(kSubpixels)), kRowBits = bitsOf(kRowPitch);
static_assert(int64_t(1) << kRowBits == kRowPitch);
int64_t floorShift(int64_t a, int bits) { return a >> bits; }
int64_t ceilShift(int64_t a, int bits) { return -((-a) >> bits); }
int64_t floorPixel(int64_t a) { return floorShift(a, kSubpixelBits); }
int64_t ceilPixel(int64_t a) { return ceilShift(a, kSubpixelBits); }

// e(x, y) = a x + b y + c, positive inside a triangle of positive area.
// Samples exactly on an edge belong to the triangle whose edge is a left
// or top one (y runs downwards), so that a shared edge is drawn once.
struct edgeS {
    int64_t a, b, c;

    edgeS(int64_t xa, int64_t ya, int64_t xb, int64_t yb) : a(ya - yb), b(xb - xa), c(xa * yb - xb * ya) {
        const bool topLeft = a > 0 || (a == 0 && b > 0);
        if (!topLeft)
            c -= 1;
    }
    int64_t at(int64_t x, int64_t y) const { return a * x + b * y + c; }
};

// A quantity that varies linearly over the triangle, from its values at
// the (snapped) vertices.
struct planeS {
    float x0 = 0, y0 = 0, v0 = 0, dx = 0, dy = 0;

    planeS() = default;
    planeS(const float x[3], const float y[3], float v0_, float v1, float v2, float inverseArea)
        : x0(x[0]), y0(y[0]), v0(v0_) {
        const float x1 = x[1] - x[0], y1 = y[1] - y[0], x2 = x[2] - x[0], y2 = y[2] - y[0];
        dx = ((v1 - v0) * y2 - (v2 - v0) * y1) * inverseArea;
        dy = ((v2 - v0) * x1 - (v1 - v0) * x2) * inverseArea;
    }
    float at(float x, float y) const { return v0 + dx * (x - x0) + dy * (y - y0); }
};

inline float channel(uint32_t c, int shift) { return float(c >> shift & 0xff) * (1.0f / 255); }

inline uint32_t blend(uint32_t under, float r, float g, float b, float alpha) {
    const float ur = channel(under, 0), ug = channel(under, 8), ub = channel(under, 16);
    return packColour(ur + (r - ur) * alpha, ug + (g - ug) * alpha, ub + (b - ub) * alpha);
}

// The sample rows a shape from yMin to yMax touches, within the band.
bool sampleRows(const sampleBandC& band, int64_t yMin, int64_t yMax, int& first, int& last) {
    first = int(std::max<int64_t>(band.firstSampleRow(), ceilShift(yMin - kRowPitch / 2, kRowBits)));
    last = int(std::min<int64_t>(band.endSampleRow() - 1, floorShift(yMax - kRowPitch / 2, kRowBits)));
    return first <= last;
}

// kFlat: one colour over the whole triangle, packed once. Most triangles
// of a fine mesh are shaded once (see the scene drawer), and most samples
// they cover need only the depth interpolated.
template <bool kBlend, bool kNormal, bool kFlat>
void fill(sampleBandC& band, const screenVertexS* v[3], const paintS& paint) {
    int64_t X[3], Y[3];
    float xs[3], ys[3];
    for (int i = 0; i < 3; ++i) {
        X[i] = snap(v[i]->x);
        Y[i] = snap(v[i]->y);
        xs[i] = float(X[i]) / kSubpixels;
        ys[i] = float(Y[i]) / kSubpixels;
    }
    const int64_t area = (X[1] - X[0]) * (Y[2] - Y[0]) - (X[2] - X[0]) * (Y[1] - Y[0]);
    if (area == 0)
        return;
    const int i1 = area > 0 ? 1 : 2, i2 = area > 0 ? 2 : 1;

    int first, last;
    if (!sampleRows(band, std::min({Y[0], Y[1], Y[2]}), std::max({Y[0], Y[1], Y[2]}), first, last))
        return;
    const int64_t xMin = std::min({X[0], X[1], X[2]}), xMax = std::max({X[0], X[1], X[2]});
    if (xMax < 0 || xMin >= int64_t(band.width()) * int64_t(kSubpixels))
        return;

    const edgeS e0(X[i1], Y[i1], X[i2], Y[i2]);
    const edgeS e1(X[i2], Y[i2], X[0], Y[0]);
    const edgeS e2(X[0], Y[0], X[i1], Y[i1]);

    const float inverseArea = (kSubpixels * kSubpixels) / float(area);
    const planeS depth(xs, ys, v[0]->w, v[1]->w, v[2]->w, inverseArea);
    const planeS red = kFlat ? planeS() : planeS(xs, ys, v[0]->r, v[1]->r, v[2]->r, inverseArea);
    const planeS green = kFlat ? planeS() : planeS(xs, ys, v[0]->g, v[1]->g, v[2]->g, inverseArea);
    const planeS blue = kFlat ? planeS() : planeS(xs, ys, v[0]->b, v[1]->b, v[2]->b, inverseArea);
    const uint32_t flat = packColour(v[0]->r, v[0]->g, v[0]->b);
    const int64_t step0 = e0.a * int64_t(kSubpixels), step1 = e1.a * int64_t(kSubpixels),
                  step2 = e2.a * int64_t(kSubpixels);
    const float scale = paint.depthScale, alpha = paint.alpha;

    // Every row is walked over the columns of the whole triangle: testing a
    // sample too many is cheaper than finding each row's own span. The
    // edge functions and the planes are carried from row to row, each row
    // adding its own sample offset.
    const int x0 = int(std::max<int64_t>(0, floorPixel(xMin)));
    const int x1 = int(std::min<int64_t>(band.width() - 1, floorPixel(xMax)));
    const int64_t startX = int64_t(x0) * int64_t(kSubpixels), startY = sampleRowY(first);
    int64_t base0 = e0.at(startX, startY), base1 = e1.at(startX, startY), base2 = e2.at(startX, startY);
    const float startXf = float(x0), startYf = sampleRowYf(first), rowStep = 1.0f / kSamples;
    float baseW = depth.at(startXf, startYf), baseR = 0, baseG = 0, baseB = 0;
    if (!kFlat) {
        baseR = red.at(startXf, startYf);
        baseG = green.at(startXf, startYf);
        baseB = blue.at(startXf, startYf);
    }
    if (kNormal)
        band.noteDrawn(first, last, x0, x1);
    for (int row = first; row <= last; ++row) {
        const int64_t offset = sampleRowX(row);
        const float offsetf = sampleOffset(row);
        int64_t c0 = base0 + e0.a * offset, c1 = base1 + e1.a * offset, c2 = base2 + e2.a * offset;
        float w = baseW + depth.dx * offsetf, r = 0, g = 0, b = 0;
        if (!kFlat) {
            r = baseR + red.dx * offsetf;
            g = baseG + green.dx * offsetf;
            b = baseB + blue.dx * offsetf;
        }
        float* depthRow = band.depthRow(row);
        uint32_t* colourRow = band.colourRow(row);
        uint32_t* normalRow = kNormal ? band.normalRow(row) : nullptr;
        for (int x = x0; x <= x1; ++x) {
            if ((c0 | c1 | c2) >= 0 && w * scale > depthRow[x]) {
                if (kBlend) {
                    colourRow[x] = blend(colourRow[x], r, g, b, alpha);
                } else {
                    depthRow[x] = w * scale;
                    colourRow[x] = kFlat ? flat : packColour(r, g, b);
                    if (kNormal)
                        normalRow[x] = paint.normal;
                }
            }
            c0 += step0;
            c1 += step1;
            c2 += step2;
            w += depth.dx;
            if (!kFlat) {
                r += red.dx;
                g += green.dx;
                b += blue.dx;
            }
        }
        base0 += e0.b * kRowPitch;
        base1 += e1.b * kRowPitch;
        base2 += e2.b * kRowPitch;
        baseW += depth.dy * rowStep;
        if (!kFlat) {
            baseR += red.dy * rowStep;
            baseG += green.dy * rowStep;
            baseB += blue.dy * rowStep;
        }
    }
}

}  // namespace

void fillTriangle(sampleBandC& band, const screenVertexS& a, const screenVertexS& b, const screenVertexS& c,
                  const paintS& paint) {
    const screenVertexS* v[3] = {&a, &b, &c};
    const bool flat = a.r == b.r && a.r == c.r && a.g == b.g && a.g == c.g && a.b == b.b && a.b == c.b;
    if (paint.alpha < 1)
        fill<true, false, false>(band, v, paint);
    else if (paint.writeNormal && band.hasNormals())
        flat ? fill<false, true, true>(band, v, paint) : fill<false, true, false>(band, v, paint);
    else
        flat ? fill<false, false, true>(band, v, paint) : fill<false, false, false>(band, v, paint);
}

bool hiddenTriangle(sampleBandC& band, const screenVertexS& a, const screenVertexS& b, const screenVertexS& c) {
    int first, last;
    if (!sampleRows(band, snap(std::min({a.y, b.y, c.y})), snap(std::max({a.y, b.y, c.y})), first, last))
        return true;
    const int x0 = int(std::max<int64_t>(0, floorPixel(snap(std::min({a.x, b.x, c.x})))));
    const int x1 = int(std::min<int64_t>(band.width() - 1, floorPixel(snap(std::max({a.x, b.x, c.x})))));
    const float nearest = std::max({a.w, b.w, c.w});
    for (int row = first; row <= last; ++row) {
        const float* depth = band.depthRow(row);
        for (int x = x0; x <= x1; ++x)
            if (!(depth[x] >= nearest))
                return false;
    }
    return true;
}

void fillDisc(sampleBandC& band, const screenVertexS& centre, float radius, const paintS& paint) {
    int first, last;
    if (!sampleRows(band, snap(centre.y - radius), snap(centre.y + radius), first, last))
        return;
    const float w = centre.w * paint.depthScale, radius2 = radius * radius;
    const uint32_t colour = packColour(centre.r, centre.g, centre.b);
    for (int row = first; row <= last; ++row) {
        const float offset = sampleOffset(row), dy = sampleRowYf(row) - centre.y;
        const int x0 = int(std::max<int64_t>(0, ceilPixel(snap(centre.x - radius - offset))));
        const int x1 = int(std::min<int64_t>(band.width() - 1, floorPixel(snap(centre.x + radius - offset))));
        float* depthRow = band.depthRow(row);
        uint32_t* colourRow = band.colourRow(row);
        for (int x = x0; x <= x1; ++x) {
            const float dx = float(x) + offset - centre.x;
            if (dx * dx + dy * dy > radius2 || !(w > depthRow[x]))
                continue;
            if (paint.alpha < 1) {
                colourRow[x] = blend(colourRow[x], centre.r, centre.g, centre.b, paint.alpha);
            } else {
                depthRow[x] = w;
                colourRow[x] = colour;
            }
        }
    }
}

}  // namespace render
