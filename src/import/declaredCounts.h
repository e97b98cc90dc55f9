// Counts that a file's header declares, held against what the file holds,
// before assimp reads it. Some loaders allocate for the counts first and
// read after: a small file that declares billions of vertices would claim
// gigabytes, and one that declares more records than it has is read as
// zeros or garbage instead of being refused.
#pragma once

#include <assimp/IOStream.hpp>

#include <string>

namespace meshimport {

// Throws importError for an empty file, and for a PLY, OFF or (by its
// extension) STL file whose header promises more than the file holds.
// Other files are left to their loaders.
void checkDeclaredCounts(Assimp::IOStream& file, const std::string& extension);

}  // namespace meshimport
