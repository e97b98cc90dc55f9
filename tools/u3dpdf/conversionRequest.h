// The request tree a host fills for one conversion, built with the host's
// own copy of the meta tree code.
#pragma once

#include "metatree/metaObject.h"

#include <string>

struct modelBoxS {
    double min[3];
    double max[3];
};

// REQUEST with NAME and VERSION of this host, OUTPUTLOCATION, and the input
// record INPUTDATA/MODEL with FILENAME, U3DBOXMIN and U3DBOXMAX. The handle
// owns the tree.
metaObjectC buildConversionRequest(const std::string& output, const std::string& model, const modelBoxS& box);
