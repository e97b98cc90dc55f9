// One assimp mesh (after triangulation and sorting by primitive type) as a
// geometry resource of the scene model.
#pragma once

#include "u3d/scene.h"

#include <assimp/mesh.h>

#include <string>

namespace meshimport {

// Triangles become a mesh, lines a line set, points (and vertices without
// any face) a point set. Positions, normals and the first set of vertex
// colours are each joined to their distinct values and indexed per corner;
// a triangle mesh without normals gets them from its faces. Throws
// importError for a face whose corners do not fit the mesh's kind and for
// colours that are not finite.
u3d::geometryS mapMesh(const aiMesh& mesh, const std::string& name);

// Whether the geometry draws anything: a line, a point, or a triangle whose
// area is not zero.
bool drawsSomething(const u3d::geometryS& geometry);

}  // namespace meshimport
