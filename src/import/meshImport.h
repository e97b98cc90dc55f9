// Mesh files into the scene model, through assimp.
//
// The scene keeps the file's node tree (names made unique, transforms as
// the file gives them), one geometry per mesh the tree shows (triangles,
// lines or points; identical positions, normals and colours joined), and a
// material with its lit texture shader per material the meshes use.
// Polygons are triangulated, normals generated where the file has none (or
// only unusable ones), and vertices without faces become a point set.
#pragma once

#include "import/importError.h"
#include "u3d/scene.h"

#include <span>
#include <string>

namespace meshimport {

// Reads the model at path and the files it names beside it or below its
// folder (materials, buffers). Throws importError (unknownFormatError when
// no reader knows the file) with a one-line message.
u3d::sceneS importFile(const std::string& path);

// The same for a model held in memory, read as a file with the given
// extension ("stl", "gltf", ...); it can name no other file. The root node,
// when the file leaves it unnamed, is called rootName.
u3d::sceneS importBytes(std::span<const unsigned char> bytes, const std::string& extension,
                        const std::string& rootName = "model");

}  // namespace meshimport
