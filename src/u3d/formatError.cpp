#include "u3d/formatError.h"

#include "u3d/blockTypes.h"

#include <cstdio>

namespace u3d {

namespace {

std::string describe(const std::string& fault, const blockPlaceS& place) {
    char text[64];
    if (!place.type) {
        std::snprintf(text, sizeof text, "at offset %llu: ", static_cast<unsigned long long>(place.offset));
        return text + fault;
    }
    std::snprintf(text, sizeof text, "block 0x%08X", static_cast<unsigned>(*place.type));
    std::string where = text;
    const std::string name = blockTypeName(*place.type);
    if (!name.empty())
        where += " (" + name + ")";
    std::snprintf(text, sizeof text, " at offset %llu: ", static_cast<unsigned long long>(place.offset));
    return where + text + fault;
}

}  // namespace

formatError::formatError(const std::string& fault, blockPlaceS place)
    : std::runtime_error(describe(fault, place)), fault_(fault), place_(place) {}

std::string blockTypeName(uint32_t type) {
    switch (type) {
        case kFileHeaderBlock: return "file header";
        case kFileReferenceBlock: return "file reference";
        case kModifierChainBlock: return "modifier chain";
        case kPriorityUpdateBlock: return "priority update";
        case kNewObjectTypeBlock: return "new object type";
        case kGroupNodeBlock: return "group node";
        case kModelNodeBlock: return "model node";
        case kLightNodeBlock: return "light node";
        case kViewNodeBlock: return "view node";
        case kClodMeshDeclarationBlock: return "CLOD mesh declaration";
        case kPointSetDeclarationBlock: return "point set declaration";
        case kLineSetDeclarationBlock: return "line set declaration";
        case kClodBaseMeshContinuationBlock: return "CLOD base mesh continuation";
        case kClodProgressiveMeshContinuationBlock: return "CLOD progressive mesh continuation";
        case kPointSetContinuationBlock: return "point set continuation";
        case kLineSetContinuationBlock: return "line set continuation";
        case kGlyphModifierBlock: return "2D glyph modifier";
        case kSubdivisionModifierBlock: return "subdivision modifier";
        case kAnimationModifierBlock: return "animation modifier";
        case kBoneWeightModifierBlock: return "bone weight modifier";
        case kShadingModifierBlock: return "shading modifier";
        case kClodModifierBlock: return "CLOD modifier";
        case kLightResourceBlock: return "light resource";
        case kViewResourceBlock: return "view resource";
        case kLitTextureShaderBlock: return "lit texture shader";
        case kMaterialResourceBlock: return "material resource";
        case kTextureDeclarationBlock: return "texture declaration";
        case kMotionResourceBlock: return "motion resource";
        case kTextureContinuationBlock: return "texture continuation";
        default: break;
    }
    if (type >= kFirstNewObjectBlock && type <= kLastNewObjectBlock)
        return "new object";
    return {};
}

}  // namespace u3d
