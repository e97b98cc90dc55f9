#include "u3d/clodMeshBlocks.h"

#include "u3d/blockTypes.h"
#include "u3d/contexts.h"
#include "u3d/geometryDeclaration.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace u3d {

namespace {

// The mesh resource parameters that progressive decoders build normals
// with; a base mesh carries its normals, so these only have to be sane.
constexpr float kNormalCrease = 0.90f;
constexpr float kNormalUpdate = -0.50f;
constexpr float kNormalTolerance = 0.985f;

// The position factor of the highest quality as resolution updates would
// use it: 2^18 steps across the radius of the positions' bounding sphere,
// but no step so fine that the farthest coordinate's count overflows 32
// bits. Computed in F32 as decoders of such updates expect.
float positionInverseQuant(const std::vector<vec3f>& positions) {
    float quant = std::ldexp(1.0f, 18);
    if (positions.empty())
        return 1.0f / quant;
    vec3f lo = positions[0], hi = positions[0];
    for (const vec3f& p : positions) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    const vec3f centre{(lo.x + hi.x) * 0.5f, (lo.y + hi.y) * 0.5f, (lo.z + hi.z) * 0.5f};
    float radiusSquared = 0;
    for (const vec3f& p : positions) {
        const float dx = p.x - centre.x, dy = p.y - centre.y, dz = p.z - centre.z;
        radiusSquared = std::max(radiusSquared, dx * dx + dy * dy + dz * dz);
    }
    if (radiusSquared > 0)
        quant /= std::sqrt(radiusSquared);
    const float farthest = std::max({std::fabs(lo.x), std::fabs(lo.y), std::fabs(lo.z), std::fabs(hi.x),
                                     std::fabs(hi.y), std::fabs(hi.z)});
    if (farthest > 0)
        quant = std::min(quant, static_cast<float>(0xFFFFFE00u) / farthest);
    return 1.0f / quant;
}

uint32_t count32(std::size_t n) { return static_cast<uint32_t>(n); }

// Normals and colours that no corner uses are not written.
uint32_t normalCount(const geometryS& mesh) { return mesh.normalIndices.empty() ? 0 : count32(mesh.normals.size()); }
uint32_t diffuseCount(const geometryS& mesh) {
    return mesh.diffuseIndices.empty() ? 0 : count32(mesh.diffuseColors.size());
}

// Face, position, normal, diffuse, specular and texture coordinate counts.
void writeCounts(bitWriterC& w, const geometryS& mesh) {
    w.writeU32(count32(mesh.primitiveCount()));
    w.writeU32(count32(mesh.positions.size()));
    w.writeU32(normalCount(mesh));
    w.writeU32(diffuseCount(mesh));
    w.writeU32(0);
    w.writeU32(0);
}

// About how many bits an index into `count` values takes: a static
// context codes it in about log2(count) bits, a count from 0x3FFF on
// stores it as four coded bytes.
uint64_t indexBits(uint32_t count) {
    if (count == 0)
        return 0;
    return count >= 0x3FFF ? 33 : std::bit_width(count) + 1;
}

// A little more than the base mesh takes, so that its bytes are taken once.
std::size_t baseMeshSize(const geometryS& mesh, bool noCompression) {
    const uint64_t values = 12 * uint64_t(mesh.positions.size()) + 12 * uint64_t(normalCount(mesh)) +
                            16 * uint64_t(diffuseCount(mesh));
    const uint64_t perFace =
        noCompression ? 32 * (1 + 3 * (1 + (normalCount(mesh) > 0) + (diffuseCount(mesh) > 0)))
                      : 3 * (indexBits(count32(mesh.positions.size())) + indexBits(normalCount(mesh)) +
                             indexBits(diffuseCount(mesh))) +
                            2;
    return static_cast<std::size_t>(mesh.name.size() + 64 + values + (mesh.primitiveCount() * perFace) / 8);
}

}  // namespace

outBlockS clodMeshDeclaration(const geometryS& mesh) {
    bitWriterC w;
    w.writeString(mesh.name);
    w.writeU32(0);  // modifier chain index
    w.writeU32(mesh.normalIndices.empty() ? 1 : 0);  // mesh attributes: exclude normals
    writeCounts(w, mesh);
    writeShadingDescriptions(w, geometryShadings(mesh));
    w.writeU32(count32(mesh.positions.size()));  // minimum resolution
    w.writeU32(count32(mesh.positions.size()));  // final maximum resolution
    writeResourceDescription(w, highestQualityQuant(positionInverseQuant(mesh.positions)));
    w.writeF32(kNormalCrease);
    w.writeF32(kNormalUpdate);
    w.writeF32(kNormalTolerance);
    w.writeU32(0);  // bones
    return {kClodMeshDeclarationBlock, w.finish()};
}

outBlockS clodBaseMesh(const geometryS& mesh, bool noCompression) {
    bitWriterC w;
    w.setNoCompression(noCompression);
    w.reserve(baseMeshSize(mesh, noCompression));
    w.writeString(mesh.name);
    w.writeU32(0);  // modifier chain index
    writeCounts(w, mesh);
    for (const vec3f& p : mesh.positions) {
        w.writeF32(p.x);
        w.writeF32(p.y);
        w.writeF32(p.z);
    }
    for (uint32_t i = 0; i < normalCount(mesh); ++i) {
        w.writeF32(mesh.normals[i].x);
        w.writeF32(mesh.normals[i].y);
        w.writeF32(mesh.normals[i].z);
    }
    for (uint32_t i = 0; i < diffuseCount(mesh); ++i) {
        const color4f& c = mesh.diffuseColors[i];
        w.writeF32(c.r);
        w.writeF32(c.g);
        w.writeF32(c.b);
        w.writeF32(c.a);
    }

    const std::vector<shadingOutS> shadings = geometryShadings(mesh);
    const uint32_t positionContext = staticContext(count32(mesh.positions.size()));
    const uint32_t normalContext = staticContext(normalCount(mesh));
    const uint32_t diffuseContext = staticContext(diffuseCount(mesh));
    const bool normals = !mesh.normalIndices.empty();
    const std::size_t faces = mesh.primitiveCount();
    for (std::size_t f = 0; f < faces; ++f) {
        const uint32_t id = mesh.shadingIds.empty() ? 0 : mesh.shadingIds[f];
        w.writeCompressedU32(ctx::kShadingId, id);
        // Each corner with all its indices before the next corner.
        for (std::size_t k = 3 * f; k < 3 * f + 3; ++k) {
            w.writeCompressedU32(positionContext, mesh.positionIndices[k]);
            if (normals)
                w.writeCompressedU32(normalContext, mesh.normalIndices[k]);
            if (shadings[id].diffuseColors)
                w.writeCompressedU32(diffuseContext, mesh.diffuseIndices[k]);
        }
    }
    // The reference encoder ends the base mesh with a zero U32 of its own
    // before the block's final look-ahead bytes; decoders that read ahead
    // of the last face find the same bits here.
    w.writeU32(0);
    return {kClodBaseMeshContinuationBlock, w.finish()};
}

}  // namespace u3d
