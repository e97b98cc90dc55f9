#include "u3d/primitiveSet.h"

#include "u3d/contexts.h"
#include "u3d/elementBudget.h"
#include "u3d/faceAdjacency.h"
#include "u3d/updateFields.h"

#include <string>

namespace u3d {

void primitiveSetC::readDeclaration(bitReaderC& in, geometryS& set) {
    if (declared_)
        in.fail("a second declaration of the set");
    declared_ = true;
    in.readU32();  // modifier chain index
    in.readU32();  // reserved
    in.readU32();  // line or point count
    maxPositions_ = in.readU32();
    in.readU32();  // normals
    in.readU32();  // diffuse colours
    in.readU32();  // specular colours
    textureCoords_ = in.readU32();
    shadings_ = readMeshShadings(in);
    for (int i = 0; i < 3; ++i)
        in.readU32();  // quality factors
    inverseQuantPosition_ = in.readF32();
    // The other inverse quantisation factors, reserved values and the
    // skeleton follow: nothing of them reaches the scene.
    set.kind = kind_;
}

void primitiveSetC::readEnd(bitReaderC& in, const meshShadingS& shading) {
    in.readCompressedU32(ctx::kNormalLocalIndex);
    for (bool colors : {shading.diffuseColors, shading.specularColors})
        if (colors && in.readCompressedU8(ctx::kVertColorDupType) == 0)
            // Colour differences share the normals' sign context.
            skipQuantised(in, ctx::kNormalDiffSigns, ctx::kVertexColorDiffMagR, 4);
    if (textureCoords_ == 0)
        return;
    for (uint32_t layer = 0; layer < shading.textureLayers; ++layer)
        if (in.readCompressedU8(ctx::kTexCoordDupType) == 0)
            skipQuantised(in, ctx::kTexCoordDiffSigns, ctx::kTexCoordDiffMagU, 4);
}

// Each update: the position it splits from, the new position as a
// quantised difference from it, new normals, then the new lines (from an
// earlier position to the new one) or points (at the new position).
void primitiveSetC::readContinuation(bitReaderC& in, geometryS& set) {
    if (!declared_)
        in.fail("a continuation before the set's declaration");
    const auto [start, end] = readResolutionRange(in, set.positions.size(), maxPositions_);
    elementBudgetC budget(in);
    budget.spend(in, end - start, "position");
    reserveGrowing(set.positions, end);
    const std::size_t corners = cornersPerPrimitive(kind_);
    for (uint32_t r = start; r < end; ++r) {
        const uint32_t split = in.readCompressedU32(staticContext(r > 1 ? r : 1));
        if (r > 0 && split >= r)
            in.fail("split position " + std::to_string(split) + " of " + std::to_string(r));
        const vec3f predicted = r > 0 ? set.positions[split] : vec3f{0, 0, 0};
        set.positions.push_back(readPositionDifference(in, predicted, inverseQuantPosition_));

        const uint32_t normals = in.readCompressedU32(ctx::kNumLocalNormals);
        budget.spend(in, normals, "normal");
        for (uint32_t i = 0; i < normals; ++i)
            skipQuantised(in, ctx::kNormalDiffSigns, ctx::kNormalDiffMagX, 3);

        const uint32_t count = in.readCompressedU32(ctx::kNumNewFaces);
        budget.spend(in, count, kind_ == geometryKindE::lineSet ? "line" : "point");
        set.positionIndices.reserve(set.positionIndices.size() + corners * count);
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t id = in.readCompressedU32(ctx::kShadingId);
            const meshShadingS& shading = shadingOf(in, shadings_, id);
            appendShadingId(set, id);
            if (kind_ == geometryKindE::lineSet) {
                const uint32_t first = in.readCompressedU32(staticContext(r));
                if (first >= r)
                    in.fail("line from position " + std::to_string(first) + " to " + std::to_string(r));
                set.positionIndices.push_back(first);
                readEnd(in, shading);
                readEnd(in, shading);
            } else {
                readEnd(in, shading);
            }
            set.positionIndices.push_back(r);
        }
    }
}

}  // namespace u3d
