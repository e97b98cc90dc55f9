// Writing the scene model as a U3D file.
//
// The file holds, after its header: one modifier chain per node (the node,
// and for a model with shaders its shading modifier), one per geometry (its
// declaration), the lit texture shaders and the materials; then the
// continuations that carry the geometry, one per geometry. Meshes are CLOD
// meshes whose base mesh is the whole mesh; line and point sets are
// written as their blocks require (see u3d/primitiveSetBlocks.h). A shader
// that draws a geometry with diffuse colours lights with them. Values are
// arithmetic-coded, unless the file would be barely larger without: then
// it is written in the no-compression profile (u3d/compressionChoice.h).
#pragma once

#include "u3d/scene.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace u3d {

// The file's bytes. A scene that cannot be written (see u3d/sceneCheck.h)
// is a sceneError before anything is written.
std::vector<uint8_t> writeU3dMemory(const sceneS& scene);

// The same into a file, written beside the path under a temporary name
// and moved onto it once complete: on any failure (sceneError, or a
// std::runtime_error naming the path for what the file system refused)
// nothing is left at the path and a file already there is kept.
void writeU3dFile(const sceneS& scene, const std::string& path);

// The same into an open file from where it stands (named `shown` in
// faults); the caller flushes and closes it, and removes it on failure.
void writeU3dStream(const sceneS& scene, std::FILE* file, const std::string& shown);

}  // namespace u3d
