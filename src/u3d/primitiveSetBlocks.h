// A line set or point set resource: the declaration, then one continuation
// that adds the positions one by one, each as a quantised difference from
// the position before it, with the lines that end there (from an earlier
// position) or the points that stand there.
//
// The format fixes an order the input need not have, so the writer lays
// the set out the way a decoder rebuilds it:
// - a line set keeps its positions; each line is written at its later
//   position, so lines come back ordered by that position (stable) and
//   run from the earlier to the later one. A line from a position to
//   itself cannot be written and is left out: it draws nothing.
// - a point set is written one position per point, in point order.
//
// Positions are quantised in power-of-two steps, as coarse as every
// coordinate allows without loss but no finer than 2^-23 of the largest
// coordinate's power of two (the precision of F32 there): a set whose
// coordinates fit such a step comes back bit for bit (-0 as 0), any other
// to within a step. Diffuse colours are quantised in steps of 2^-14 and
// predicted as decoders of the format predict them. No normals are
// written.
#pragma once

#include "u3d/blockFraming.h"
#include "u3d/geometryDeclaration.h"
#include "u3d/scene.h"

#include <cstdint>
#include <vector>

namespace u3d {

class primitiveSetOutC {
public:
    explicit primitiveSetOutC(const geometryS& set);

    outBlockS declaration() const;
    // Values coded, or plain in a file of the no-compression profile.
    outBlockS continuation(bool noCompression) const;
    bool hasContinuation() const { return !positions_.empty(); }

    // The exponent k of the position step 2^-k.
    int positionStepExponent() const { return positionExponent_; }

private:
    // One primitive as written: its position indices (a line's earlier end
    // first), its shading id and the input's colour index at each end.
    struct primitiveS {
        uint32_t ends[2];
        uint32_t shading;
        uint32_t colors[2];
    };

    float largestColorDifference() const;
    std::size_t corners() const { return cornersPerPrimitive(set_.kind); }
    uint32_t endPosition(const primitiveS& p) const { return p.ends[corners() - 1]; }

    const geometryS& set_;
    std::vector<vec3f> positions_;
    std::vector<primitiveS> primitives_;  // ordered by their last position
    std::vector<shadingOutS> shadings_;
    uint32_t newColors_ = 0;
    int positionExponent_ = 0;
    inverseQuantS quant_;
};

}  // namespace u3d
