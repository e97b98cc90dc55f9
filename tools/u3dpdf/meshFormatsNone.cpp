// Builds without assimp (Debian has none for MinGW) read U3D only.
#include "meshFormats.h"

std::vector<meshFormatS> meshFormats() { return {}; }
