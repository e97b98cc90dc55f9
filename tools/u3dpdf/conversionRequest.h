// The request tree a host fills for one conversion, built with the host's
// own copy of the meta tree code.
#pragma once

#include "metatree/metaObject.h"

#include <span>
#include <string>

struct modelBoxS {
    double min[3];
    double max[3];
};

// A custom entry of the request: CUSTOMDATA / ENTRIES / ENTRY with KEY and
// TEXT (translator/customEntryKeys.h names the keys the module knows).
struct customEntryS {
    const char* key;
    const char* text;
};

// REQUEST with NAME and VERSION of this host, OUTPUTLOCATION, the custom
// entries under CUSTOMDATA/ENTRIES (no CUSTOMDATA without any), and the
// input record INPUTDATA/MODEL with FILENAME, U3DBOXMIN and U3DBOXMAX. The
// handle owns the tree.
metaObjectC buildConversionRequest(const std::string& output, const std::string& model, const modelBoxS& box,
                                   std::span<const customEntryS> entries = {});
