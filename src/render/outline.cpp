#include "render/outline.h"

#include <algorithm>
#include <cmath>

namespace render {

uint32_t packNormal(const float n[3]) {
    uint32_t packed = 0;
    for (int i = 0; i < 3; ++i) {
        const float scaled = std::clamp(n[i], -1.0f, 1.0f) * 127;
        packed |= uint32_t(uint8_t(int8_t(scaled + (scaled >= 0 ? 0.5f : -0.5f)))) << (8 * i);
    }
    return packed;
}

namespace {

int dotPacked(uint32_t a, uint32_t b) {
    int sum = 0;
    for (int i = 0; i < 3; ++i)
        sum += int(int8_t(uint8_t(a >> (8 * i)))) * int(int8_t(uint8_t(b >> (8 * i))));
    return sum;
}

struct tester {
    const outlineS& outline;
    int creaseDot;

    // Marks the sample of the pair that the outline belongs to, if any.
    void operator()(float da, uint32_t na, uint8_t& ma, float db, uint32_t nb, uint8_t& mb) const {
        if (da == db && (na == nb || da == 0))
            return;
        if (da == 0 || db == 0) {
            (da == 0 ? mb : ma) = 1;
            return;
        }
        const float nearer = std::max(da, db);
        if (std::fabs(da - db) > outline.depthJump * nearer || dotPacked(na, nb) < creaseDot)
            (da >= db ? ma : mb) = 1;
    }
};

}  // namespace

void drawOutlines(sampleBandC& band, const outlineS& outline) {
    const tester test{outline, int(std::floor(outline.creaseCosine * 127 * 127))};
    // Only where faces were drawn, and one sample around, can a pair differ.
    const sampleBandC::areaS& drawn = band.drawn();
    const int from = std::max(drawn.firstColumn - 1, 0), to = std::min(drawn.lastColumn + 1, band.width() - 1);
    // Marks may spread into the band from kOutlineSpread rows beyond it, and
    // a mark there may come from the pair with the row beyond that.
    const int first = std::max({band.firstSampleRow(), band.firstOwnSampleRow() - kOutlineMargin, drawn.firstRow - 1});
    const int end = std::min({band.endSampleRow(), band.endOwnSampleRow() + kOutlineSpread, drawn.lastRow + 1});
    if (from > to)
        return;

    for (int row = first; row < end; ++row) {
        const float* depth = band.depthRow(row);
        const uint32_t* normal = band.normalRow(row);
        uint8_t* mark = band.markRow(row);
        for (int x = from; x < to; ++x)
            test(depth[x], normal[x], mark[x], depth[x + 1], normal[x + 1], mark[x + 1]);
        if (row + 1 < band.endSampleRow()) {
            const float* depthBelow = band.depthRow(row + 1);
            const uint32_t* normalBelow = band.normalRow(row + 1);
            uint8_t* markBelow = band.markRow(row + 1);
            for (int x = from; x <= to; ++x)
                test(depth[x], normal[x], mark[x], depthBelow[x], normalBelow[x], markBelow[x]);
        }
    }

    // Each mark spreads over the sample rows around it, so that an outline
    // running along the rows is as thick as one running across them.
    for (int row = band.firstOwnSampleRow(); row < band.endOwnSampleRow(); ++row) {
        const int markFrom = std::max(band.firstSampleRow(), row - kOutlineSpread);
        const int markTo = std::min(band.endSampleRow() - 1, row + kOutlineSpread);
        uint32_t* colour = band.colourRow(row);
        for (int x = from; x <= to; ++x) {
            uint8_t any = 0;
            for (int r = markFrom; r <= markTo; ++r)
                any |= band.markRow(r)[x];
            if (any)
                colour[x] = outline.colour;
        }
    }
}

}  // namespace render
