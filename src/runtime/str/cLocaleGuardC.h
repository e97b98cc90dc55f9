// Holds the numeric and character-type locale categories at "C" for the
// guard's lifetime, so that numbers are written and read with the full stop
// as decimal separator whatever locale the host process chose.
#pragma once

#include "runtime/str/str.h"

class cLocaleGuardC {
public:
    cLocaleGuardC();
    ~cLocaleGuardC();
    cLocaleGuardC(const cLocaleGuardC&) = delete;
    cLocaleGuardC& operator=(const cLocaleGuardC&) = delete;

private:
    str numeric_;
    str ctype_;
};
