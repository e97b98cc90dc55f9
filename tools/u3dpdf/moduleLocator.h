// Where u3dpdf finds libu3dpdf.so when no --module is given: relative to
// the running executable, so that an installed pair (bin/ and lib/) and a
// build tree both work from any working directory.
#pragma once

#include <string>
#include <vector>

// The places looked at, in order, for an executable in exeDir:
//   1. exeDir/libu3dpdf.so
//   2. where `cmake --install` puts it: exeDir/../lib/u3dpdf/libu3dpdf.so
//      (the library directory that the build was configured with)
//   3. the module of the build tree the executable was built in
std::vector<std::string> moduleCandidates(const std::string& exeDir);

// The first candidate that exists; an input error naming the places when
// none does. The first existing file is taken even if it turns out not to
// load, so that a broken installation is reported, not bypassed.
std::string defaultModulePath();
