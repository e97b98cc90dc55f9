// Whether a file is worth the arithmetic coder.
//
// Coding is slow (each coded byte waits for the one before it) and gains
// nothing on an index into 16383 or more values, which the format stores as
// four coded bytes anyway. A file whose bulk is such indices and F32 values
// is written in the format's no-compression profile, where every value is
// stored plainly: barely larger, several times faster to write and to read.
// Every other file is coded.
#pragma once

#include "u3d/scene.h"

namespace u3d {

// True when the file written plainly would be at most an eighth larger than
// coded, by an estimate of what each value takes either way.
bool plainIsAsGood(const sceneS& scene);

}  // namespace u3d
