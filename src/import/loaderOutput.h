// What a loader hands over, checked before assimp's processing steps see it.
// Those steps trust their input: a face without corners or an index past
// the vertices makes them fail an assertion (which ends the process) or
// read out of bounds, and NaN coordinates make them join vertices that are
// not the same. The loaders do produce such scenes from broken files.
#pragma once

#include <assimp/scene.h>

namespace meshimport {

// Node trees deeper than this are refused: assimp's steps walk them
// recursively.
inline constexpr unsigned kMaxNodeDepth = 1000;

// Throws importError for a scene the steps cannot take and for NaN or
// infinite coordinates or transforms. Normals that are not finite or have
// no length are dropped from their mesh, so that they are generated anew.
void checkLoaderOutput(aiScene& scene);

}  // namespace meshimport
