// Checks of a file before assimp reads it, where its loaders trust the file
// and would hang, crash or allocate for counts the file cannot hold:
//   - PLY: a header line the loader does not expect (or no end_header
//     line) makes it loop or read past its buffer; declared record counts
//     are held against the lines or bytes after the header (the loader
//     allocates for them first, and reads missing records as zeros), and
//     every list against the values its record holds (the loader makes
//     room for a list's declared length before reading it);
//   - OFF: declared counts are held against the lines that follow; a face
//     line must begin with a corner count from 1 to 9 (the loader skips
//     other lines and counts its faces down past zero) and no line may be
//     longer than 4095 characters (the loader's line buffer);
//   - STL (by extension): a file that is neither ASCII nor the size its
//     triangle count gives is refused with the numbers;
//   - COLLADA: an index list (<p>) must hold whole numbers only (the
//     loader adds indices without end on any other character), and every
//     data array must give a count above 0 (the loader reads through a
//     null pointer when the count is missing or 0).
#pragma once

#include <assimp/IOStream.hpp>

#include <string>

namespace meshimport {

// Throws importError for an empty file and for the cases above; other
// files are left to their loaders.
void checkBeforeLoading(Assimp::IOStream& file, const std::string& extension);

}  // namespace meshimport
