#include "u3d/primitiveSetBlocks.h"

#include "u3d/blockTypes.h"
#include "u3d/contexts.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace u3d {

namespace {

constexpr uint32_t kNone = UINT32_MAX;
constexpr int kColorExponent = 14;

// The exponent k of the coarsest step 2^-k that holds x exactly.
int exactExponent(float x) {
    int e = 0;
    const float m = std::frexp(x, &e);  // x = m * 2^e, 0.5 <= |m| < 1
    const auto mantissa = static_cast<uint32_t>(std::fabs(std::ldexp(m, 24)));
    return 24 - e - std::countr_zero(mantissa);
}

// Steps of 2^-k such that no difference of two values of magnitude up to
// `largest` counts more than 2^24 steps, and no finer than `wanted`. A
// decoder turns the count into an F32 before it multiplies: up to 2^24 the
// count, and so the product, is exact; finer steps would be lost to
// rounding there, as the coordinates' own precision ends about there too.
int stepExponent(float largest, int wanted) {
    if (largest > 0) {
        int e = 0;
        std::frexp(largest, &e);  // differences are below 2^(e + 1)
        wanted = std::min(wanted, 23 - e);
    }
    // 2^-k stays a normal F32.
    return std::clamp(wanted, -126, 126);
}

int positionExponent(const std::vector<vec3f>& positions) {
    float largest = 0;
    int exact = -126;
    for (const vec3f& p : positions)
        for (float c : {p.x, p.y, p.z})
            if (c != 0) {
                largest = std::max(largest, std::fabs(c));
                exact = std::max(exact, exactExponent(c));
            }
    return stepExponent(largest, exact);
}

// Writes target - predicted as one sign bit per component and magnitudes in
// steps of `step`, and returns what a decoder rebuilds: predicted plus each
// magnitude times the step, in F32 as decoders compute it.
template <std::size_t N>
std::array<float, N> writeDifference(bitWriterC& w, uint32_t signContext, uint32_t magnitudeContext,
                                     const std::array<float, N>& target, const std::array<float, N>& predicted,
                                     float step) {
    uint8_t signs = 0;
    std::array<uint32_t, N> magnitudes{};
    std::array<float, N> rebuilt{};
    for (std::size_t i = 0; i < N; ++i) {
        const double difference = double(target[i]) - double(predicted[i]);
        const double steps = std::round(std::fabs(difference) / step);
        magnitudes[i] = steps >= double(UINT32_MAX) ? UINT32_MAX : static_cast<uint32_t>(steps);
        const float delta = step * static_cast<float>(magnitudes[i]);
        if (difference < 0)
            signs |= uint8_t(1u << i);
        rebuilt[i] = predicted[i] + (difference < 0 ? -delta : delta);
    }
    w.writeCompressedU8(signContext, signs);
    for (std::size_t i = 0; i < N; ++i)
        w.writeCompressedU32(magnitudeContext + uint32_t(i), magnitudes[i]);
    return rebuilt;
}

std::array<float, 3> asArray(const vec3f& v) { return {v.x, v.y, v.z}; }
std::array<float, 4> asArray(const color4f& c) { return {c.r, c.g, c.b, c.a}; }

// The diffuse colours of one continuation as a decoder rebuilds them. An
// end whose colour is the one added last repeats it; any other adds its
// colour as a difference from a prediction.
class colorCoderC {
public:
    colorCoderC(const std::vector<color4f>& input, float step) : input_(input), step_(step) {}

    // Writes the colour of one end and returns its index among the
    // rebuilt colours.
    uint32_t write(bitWriterC& w, uint32_t inputIndex, const std::array<float, 4>& predicted) {
        const bool repeat = inputIndex == lastInput_;
        w.writeCompressedU8(ctx::kVertColorDupType, repeat ? 1 : 0);
        if (!repeat) {
            // Colour differences share the normals' sign context.
            rebuilt_.push_back(writeDifference(w, ctx::kNormalDiffSigns, ctx::kVertexColorDiffMagR,
                                               asArray(input_[inputIndex]), predicted, step_));
            lastInput_ = inputIndex;
        }
        return static_cast<uint32_t>(rebuilt_.size() - 1);
    }

    bool any() const { return !rebuilt_.empty(); }
    const std::array<float, 4>& rebuilt(uint32_t index) const { return rebuilt_[index]; }

private:
    const std::vector<color4f>& input_;
    float step_;
    std::vector<std::array<float, 4>> rebuilt_;
    uint32_t lastInput_ = kNone;
};

// A point's colour predicted from the point before it: that colour with
// its RGB part scaled to unit length.
std::array<float, 4> unitRgb(std::array<float, 4> c) {
    if (c[0] != 0 || c[1] != 0 || c[2] != 0) {
        const float scale = 1.0f / std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
        for (int i = 0; i < 3; ++i)
            c[i] *= scale;
    }
    return c;
}

}  // namespace

primitiveSetOutC::primitiveSetOutC(const geometryS& set) : set_(set), shadings_(geometryShadings(set)) {
    const std::size_t count = set.primitiveCount();
    const bool colors = !set.diffuseIndices.empty();
    primitives_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const uint32_t shading = set.shadingIds.empty() ? 0 : set.shadingIds[i];
        primitiveS p{{0, 0}, shading, {kNone, kNone}};
        if (set.kind == geometryKindE::pointSet) {
            p.ends[0] = static_cast<uint32_t>(i);
            if (colors)
                p.colors[0] = set.diffuseIndices[i];
            positions_.push_back(set.positions[set.positionIndices[i]]);
        } else {
            uint32_t a = set.positionIndices[2 * i], b = set.positionIndices[2 * i + 1];
            if (a == b)
                continue;
            uint32_t ca = colors ? set.diffuseIndices[2 * i] : kNone, cb = colors ? set.diffuseIndices[2 * i + 1] : kNone;
            if (a > b) {
                std::swap(a, b);
                std::swap(ca, cb);
            }
            primitives_.push_back({{a, b}, shading, {ca, cb}});
            continue;
        }
        primitives_.push_back(p);
    }
    if (set.kind == geometryKindE::lineSet) {
        positions_ = set.positions;
        std::stable_sort(primitives_.begin(), primitives_.end(),
                         [](const primitiveS& l, const primitiveS& r) { return l.ends[1] < r.ends[1]; });
    }

    // The colours the continuation adds: one per end whose colour is not
    // the one added last.
    uint32_t last = kNone;
    for (const primitiveS& p : primitives_)
        if (shadings_[p.shading].diffuseColors)
            for (std::size_t k = 0; k < corners(); ++k)
                if (p.colors[k] != last) {
                    last = p.colors[k];
                    ++newColors_;
                }

    positionExponent_ = positionExponent(positions_);
    quant_ = highestQualityQuant(std::ldexp(1.0f, -positionExponent_));
    quant_.diffuseColor = std::ldexp(1.0f, -stepExponent(largestColorDifference(), kColorExponent));
}

// How far a colour can lie from its prediction: a point's prediction has
// an RGB part of unit length and the colour's alpha; a line's sums the
// colours of the lines before it and scales the sum by their count.
float primitiveSetOutC::largestColorDifference() const {
    float largest = 0;
    for (const color4f& c : set_.diffuseColors)
        for (float v : asArray(c))
            largest = std::max(largest, std::fabs(v));
    if (set_.kind == geometryKindE::pointSet)
        return largest + std::max(largest, 1.0f);
    std::size_t fan = 0;
    for (std::size_t i = 0, run = 0; i < primitives_.size(); ++i) {
        run = i > 0 && primitives_[i].ends[1] == primitives_[i - 1].ends[1] ? run + 1 : 1;
        fan = std::max(fan, run);
    }
    return largest * (float(fan) * float(fan) + 1);
}

outBlockS primitiveSetOutC::declaration() const {
    bitWriterC w;
    w.writeString(set_.name);
    w.writeU32(0);  // modifier chain index
    w.writeU32(0);  // reserved
    w.writeU32(static_cast<uint32_t>(primitives_.size()));
    w.writeU32(static_cast<uint32_t>(positions_.size()));
    w.writeU32(0);  // normals
    w.writeU32(newColors_);
    w.writeU32(0);  // specular colours
    w.writeU32(0);  // texture coordinates
    writeShadingDescriptions(w, shadings_);
    writeResourceDescription(w, quant_);
    for (int i = 0; i < 3; ++i)
        w.writeU32(0);  // reserved parameters
    w.writeU32(0);      // bones
    return {set_.kind == geometryKindE::lineSet ? kLineSetDeclarationBlock : kPointSetDeclarationBlock, w.finish()};
}

outBlockS primitiveSetOutC::continuation(bool noCompression) const {
    const bool lines = set_.kind == geometryKindE::lineSet;
    const uint32_t count = static_cast<uint32_t>(positions_.size());
    bitWriterC w;
    w.setNoCompression(noCompression);
    w.writeString(set_.name);
    w.writeU32(0);  // modifier chain index
    w.writeU32(0);  // first position
    w.writeU32(count);

    colorCoderC colors(set_.diffuseColors, quant_.diffuseColor);
    std::vector<vec3f> rebuilt(count);
    // The rebuilt colours at the later end of the lines added by the
    // previous position, which decoders predict a line's new colours from;
    // for points, the previous point's colour.
    std::vector<uint32_t> previousColors, currentColors;
    std::size_t next = 0;
    for (uint32_t r = 0; r < count; ++r) {
        // Each position splits from the one before it.
        const uint32_t split = r > 0 ? r - 1 : 0;
        w.writeCompressedU32(staticContext(r > 1 ? r : 1), split);
        const std::array<float, 3> predicted = r > 0 ? asArray(rebuilt[split]) : std::array<float, 3>{0, 0, 0};
        const std::array<float, 3> p = writeDifference(w, ctx::kPositionDiffSigns, ctx::kPositionDiffMagX,
                                                       asArray(positions_[r]), predicted, quant_.position);
        rebuilt[r] = {p[0], p[1], p[2]};
        w.writeCompressedU32(ctx::kNumLocalNormals, 0);

        std::size_t end = next;
        while (end < primitives_.size() && endPosition(primitives_[end]) == r)
            ++end;
        w.writeCompressedU32(ctx::kNumNewFaces, static_cast<uint32_t>(end - next));
        std::array<float, 4> prediction{0, 0, 0, 0};
        if (colors.any() && !previousColors.empty()) {
            if (lines) {
                for (uint32_t c : previousColors)
                    for (int i = 0; i < 4; ++i)
                        prediction[i] += colors.rebuilt(c)[i];
                // Decoders scale the sum by the line count rather than
                // divide it: what matters is doing as they do.
                for (float& v : prediction)
                    v *= static_cast<float>(previousColors.size());
            } else {
                prediction = unitRgb(colors.rebuilt(previousColors.back()));
            }
        }
        currentColors.clear();
        for (; next < end; ++next) {
            const primitiveS& primitive = primitives_[next];
            w.writeCompressedU32(ctx::kShadingId, primitive.shading);
            if (lines)
                w.writeCompressedU32(staticContext(r), primitive.ends[0]);
            for (std::size_t k = 0; k < corners(); ++k) {
                w.writeCompressedU32(ctx::kNormalLocalIndex, 0);
                if (shadings_[primitive.shading].diffuseColors) {
                    const uint32_t c = colors.write(w, primitive.colors[k], prediction);
                    if (k + 1 == corners())
                        currentColors.push_back(c);
                }
            }
        }
        std::swap(previousColors, currentColors);
    }
    return {lines ? kLineSetContinuationBlock : kPointSetContinuationBlock, w.finish()};
}

}  // namespace u3d
