// The contexts of the U3D bit encoding: which frequency model codes a
// compressed value. Reader and writer of every block use the same numbers.
//
// Context 0 and contexts at or above kMaxRange code nothing: a compressed
// value read or written with them is stored uncompressed. Contexts 1 to
// kStaticFull are adaptive: each keeps a histogram of the values seen so
// far in the block (value v counts as symbol v + 1, symbol 0 is the escape
// that precedes a value not seen yet). A context kStaticFull + n with n >= 1
// is static: the n values 0 .. n - 1 are equally likely, and no other value
// can be coded with it.
#pragma once

#include <cstdint>

namespace u3d {

inline constexpr uint32_t kStaticFull = 0x00000400;
inline constexpr uint32_t kMaxRange = kStaticFull + 0x00003FFF;

// The static context for values 0 .. count - 1. Counts from 0x3FFF on give
// a context at or above kMaxRange: such values are stored uncompressed, and
// a count of 0 gives the adaptive context kStaticFull.
inline constexpr uint32_t staticContext(uint32_t count) {
    return count >= kMaxRange - kStaticFull ? kMaxRange : kStaticFull + count;
}

// Adaptive contexts of the blocks.
namespace ctx {

// CLOD base mesh, line set and point set continuations: the shading id of
// each face, line or point.
inline constexpr uint32_t kShadingId = 1;

// CLOD progressive mesh continuation.
inline constexpr uint32_t kNumNewFaces = 1;
inline constexpr uint32_t kOrientationType = 2;
inline constexpr uint32_t kThirdIndexType = 3;
inline constexpr uint32_t kLocalThirdPosition = 4;
// Stay or move of a face at the split position, one context per prediction
// (kStayMove + 0 .. 4).
inline constexpr uint32_t kStayMove = 15;
inline constexpr uint32_t kPositionDiffSigns = 20;
inline constexpr uint32_t kPositionDiffMagX = 21;
inline constexpr uint32_t kPositionDiffMagY = 22;
inline constexpr uint32_t kPositionDiffMagZ = 23;
inline constexpr uint32_t kNumLocalNormals = 40;
inline constexpr uint32_t kNormalDiffSigns = 41;
inline constexpr uint32_t kNormalDiffMagX = 42;
inline constexpr uint32_t kNormalDiffMagY = 43;
inline constexpr uint32_t kNormalDiffMagZ = 44;
inline constexpr uint32_t kNormalLocalIndex = 45;
inline constexpr uint32_t kVertColorDupType = 56;
inline constexpr uint32_t kVertColorSplitType = 55;
inline constexpr uint32_t kVertexColorDiffMagR = 60;
inline constexpr uint32_t kVertexColorDiffMagG = 61;
inline constexpr uint32_t kVertexColorDiffMagB = 62;
inline constexpr uint32_t kVertexColorDiffMagA = 63;
inline constexpr uint32_t kFaceShadingId = 65;
inline constexpr uint32_t kNewDiffuseColorsCount = 99;
inline constexpr uint32_t kDiffuseColorSign = 100;
inline constexpr uint32_t kNewSpecularColorsCount = 101;
inline constexpr uint32_t kSpecularColorSign = 102;
inline constexpr uint32_t kTexCoordSign = 103;
inline constexpr uint32_t kDiffuseKeepChange = 104;
inline constexpr uint32_t kDiffuseChangeType = 105;
inline constexpr uint32_t kDiffuseChangeIndexNew = 106;
inline constexpr uint32_t kDiffuseChangeIndexLocal = 107;
inline constexpr uint32_t kDiffuseChangeIndexGlobal = 108;
inline constexpr uint32_t kSpecularKeepChange = 109;
inline constexpr uint32_t kSpecularChangeType = 110;
inline constexpr uint32_t kSpecularChangeIndexNew = 111;
inline constexpr uint32_t kSpecularChangeIndexLocal = 112;
inline constexpr uint32_t kSpecularChangeIndexGlobal = 113;
inline constexpr uint32_t kTexCoordKeepChange = 114;
inline constexpr uint32_t kTexCoordChangeType = 115;
inline constexpr uint32_t kTexCoordChangeIndexNew = 116;
inline constexpr uint32_t kTexCoordChangeIndexLocal = 117;
inline constexpr uint32_t kTexCoordChangeIndexGlobal = 118;
inline constexpr uint32_t kVertColorSplitIndexLocal = 119;
inline constexpr uint32_t kVertColorSplitIndexGlobal = 120;
inline constexpr uint32_t kTexCoordSplitIndexLocal = 121;
inline constexpr uint32_t kTexCoordSplitIndexGlobal = 122;
inline constexpr uint32_t kNewTexCoordsCount = 123;
inline constexpr uint32_t kTexCoordDiffSigns = 32;
inline constexpr uint32_t kTexCoordDiffMagU = 33;
inline constexpr uint32_t kTexCoordDiffMagV = 34;
inline constexpr uint32_t kTexCoordDiffMagS = 35;
inline constexpr uint32_t kTexCoordDiffMagT = 36;
inline constexpr uint32_t kTexCoordSplitType = 29;
inline constexpr uint32_t kTexCoordDupType = 39;

}  // namespace ctx

}  // namespace u3d
