// Structural comparison of two chains for the text form tests and fuzzers.
#pragma once

#include "metatree/metaTree.h"

#include <string>

enum class numberMatchE {
    exact,
    // Numbers match when they print the same with "%.14g", the precision of
    // the text form: a number read from text with more digits comes back
    // rounded to that after a save and a load.
    asWritten,
};

// Empty when the chains have the same shape and equal values (kinds, texts
// byte for byte, numbers as chosen); otherwise where they first differ.
// Below a key named opaqueKey (when given) nothing is compared: a reference
// entry holds a node address there, which differs between two loads of the
// same text. Walks along links, so any depth is fine.
std::string treeDifference(const metaTreeC* a, const metaTreeC* b, numberMatchE numbers,
                           const char* opaqueKey = nullptr);
