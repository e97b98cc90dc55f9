// A triangle mesh as a CLOD mesh resource whose base mesh is the whole
// mesh: the declaration, then one base mesh continuation that stores every
// position, normal and diffuse colour as it is (F32) and the faces as
// indices into them. No resolution updates follow, so the minimum and the
// final maximum resolution are both the position count.
#pragma once

#include "u3d/blockFraming.h"
#include "u3d/scene.h"

namespace u3d {

// A mesh without normal indices is declared to exclude normals (decoders
// then make their own); one with them stores every normal.
outBlockS clodMeshDeclaration(const geometryS& mesh);

// The base mesh continuation, with its values coded or, in a file of the
// no-compression profile, plain; none is written for a mesh without
// positions (hasBaseMesh() false).
outBlockS clodBaseMesh(const geometryS& mesh, bool noCompression);
inline bool hasBaseMesh(const geometryS& mesh) { return !mesh.positions.empty(); }

}  // namespace u3d
