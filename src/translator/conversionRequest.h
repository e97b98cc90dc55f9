// What a conversion takes from its request tree.
#pragma once

#include "runtime/str/str.h"
#include "translator/conversionOptions.h"
#include "translator/vectorC3d.h"

class metaTreeC;

struct conversionRequestS {
    str outputPath;   // OUTPUTLOCATION
    str u3dPath;      // FILENAME of the input record
    vectorC3d boxMin;  // U3DBOXMIN of the input record
    vectorC3d boxMax;  // U3DBOXMAX of the input record
    // The custom entries the module knows, and the first value it refused.
    conversionOptionsReadS custom;
};

// Reads the request in the order the host expects its keys to appear:
// NAME, OUTPUTLOCATION, VERSION, the "AddLibPath" custom entry, then the
// input record's FILENAME, U3DBOXMIN and U3DBOXMAX. Missing values read as
// empty texts and zero vectors, and the keys read are created in the tree.
// The other custom entries are read after "AddLibPath" without creating
// anything (conversionOptions.h).
conversionRequestS readConversionRequest(metaTreeC* data);
