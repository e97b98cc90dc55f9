// What the request's custom entries change in a conversion.
//
// Each option's default is the conversion the module has always made, so a
// request without custom entries gives the same bytes as ever. An entry is
// matched without regard to case and the last match wins, as for every
// custom entry; the lookup creates nothing in the request. A value that an
// entry does not take fails the conversion: a different PDF than the one
// asked for is worse than none.
#pragma once

#include "runtime/str/str.h"

class requestEntriesC;

struct conversionOptionsS {
    // CenterView: the default view orbits the bounding box's centre.
    bool centerView = false;
};

struct conversionOptionsReadS {
    conversionOptionsS options;
    // The first entry whose value the module does not take, in one line
    // ("the custom entry ... does not take ..."); empty when all are sound.
    str error;
};

// Reads every custom entry the module knows. Switches (CenterView) take On,
// Yes, True or 1 and Off, No, False or 0, in any case.
conversionOptionsReadS readConversionOptions(requestEntriesC entries);
