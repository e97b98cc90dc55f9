// The block types of the U3D file format and their names.
#pragma once

#include <cstdint>
#include <string>

namespace u3d {

inline constexpr uint32_t kFileHeaderBlock = 0x00443355;
inline constexpr uint32_t kFileReferenceBlock = 0xFFFFFF12;
inline constexpr uint32_t kModifierChainBlock = 0xFFFFFF14;
inline constexpr uint32_t kPriorityUpdateBlock = 0xFFFFFF15;
inline constexpr uint32_t kNewObjectTypeBlock = 0xFFFFFF16;
inline constexpr uint32_t kGroupNodeBlock = 0xFFFFFF21;
inline constexpr uint32_t kModelNodeBlock = 0xFFFFFF22;
inline constexpr uint32_t kLightNodeBlock = 0xFFFFFF23;
inline constexpr uint32_t kViewNodeBlock = 0xFFFFFF24;
inline constexpr uint32_t kClodMeshDeclarationBlock = 0xFFFFFF31;
inline constexpr uint32_t kPointSetDeclarationBlock = 0xFFFFFF36;
inline constexpr uint32_t kLineSetDeclarationBlock = 0xFFFFFF37;
inline constexpr uint32_t kClodBaseMeshContinuationBlock = 0xFFFFFF3B;
inline constexpr uint32_t kClodProgressiveMeshContinuationBlock = 0xFFFFFF3C;
inline constexpr uint32_t kPointSetContinuationBlock = 0xFFFFFF3E;
inline constexpr uint32_t kLineSetContinuationBlock = 0xFFFFFF3F;
inline constexpr uint32_t kGlyphModifierBlock = 0xFFFFFF41;
inline constexpr uint32_t kSubdivisionModifierBlock = 0xFFFFFF42;
inline constexpr uint32_t kAnimationModifierBlock = 0xFFFFFF43;
inline constexpr uint32_t kBoneWeightModifierBlock = 0xFFFFFF44;
inline constexpr uint32_t kShadingModifierBlock = 0xFFFFFF45;
inline constexpr uint32_t kClodModifierBlock = 0xFFFFFF46;
inline constexpr uint32_t kLightResourceBlock = 0xFFFFFF51;
inline constexpr uint32_t kViewResourceBlock = 0xFFFFFF52;
inline constexpr uint32_t kLitTextureShaderBlock = 0xFFFFFF53;
inline constexpr uint32_t kMaterialResourceBlock = 0xFFFFFF54;
inline constexpr uint32_t kTextureDeclarationBlock = 0xFFFFFF55;
inline constexpr uint32_t kMotionResourceBlock = 0xFFFFFF56;
inline constexpr uint32_t kTextureContinuationBlock = 0xFFFFFF5C;

// Blocks of object types that a New Object Type block declares use these
// types; their layout is the declaring extension's business.
inline constexpr uint32_t kFirstNewObjectBlock = 0x00000100;
inline constexpr uint32_t kLastNewObjectBlock = 0x00FFFFFF;

// "CLOD mesh declaration"; "new object" for the extension range; empty for
// a type the format does not define.
std::string blockTypeName(uint32_t type);

}  // namespace u3d
