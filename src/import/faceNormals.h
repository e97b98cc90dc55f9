// Normals for a triangle mesh whose file has none (or only unusable ones).
//
// Made per corner, which U3D allows (normals are indexed per corner on
// their own): a corner takes the area-weighted mean of the faces around its
// position that meet its own face at less than the crease angle. A machined
// part keeps its edges and a scanned surface looks smooth, whether the file
// shares vertices between faces (PLY, OFF) or repeats them for each face
// (STL). assimp's own generator cannot do both: with a crease angle it
// gives a shared vertex the normal of one arbitrary face around it.
#pragma once

#include "u3d/scene.h"

namespace meshimport {

// Faces that meet at a sharper angle than this keep an edge between them.
inline constexpr double kCreaseDegrees = 80;

// Fills geometry.normals and geometry.normalIndices of a triangle mesh from
// its positions (already joined, so that faces that touch share them).
void addFaceNormals(u3d::geometryS& geometry);

}  // namespace meshimport
