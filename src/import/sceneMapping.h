// An assimp scene, after its processing steps, as the scene model.
//
// Every aiNode becomes a node under its parent with its own transform: a
// group node, or a model node when it shows exactly one mesh; a node that
// shows several meshes is a group with one model node per mesh under it.
// Each mesh the tree shows becomes one geometry resource (shared by every
// node that shows it), each material those meshes use one material and one
// lit texture shader of the same name; a model node's shader list is its
// mesh's shader. Names are kept, and made unique within nodes, geometries
// and materials where the file repeats them or leaves them empty.
#pragma once

#include "u3d/scene.h"

#include <assimp/scene.h>

#include <string>

namespace meshimport {

// rootName names the root node when the file leaves it unnamed (or gives
// it one of assimp's own placeholder names such as "<STL_BINARY>").
u3d::sceneS mapScene(const aiScene& scene, const std::string& rootName);

}  // namespace meshimport
