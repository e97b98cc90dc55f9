// Boxes u3dpdf measures itself, as a request carries them.
#pragma once

#include "conversionRequest.h"
#include "u3d/scene.h"

// What a PDF's 3D view holds: a camera farther than 32767 units cannot be
// written, and the module places it 1.8 box diagonals away.
inline constexpr double kLargestDiagonal = 32767 / 1.8;

// The box as the request's U3DBOXMIN and U3DBOXMAX give it.
modelBoxS requestBox(const u3d::boxS& box);

double boxDiagonal(const modelBoxS& box);
