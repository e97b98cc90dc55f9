// A private copy of a file in the temporary directory, for a consumer that
// deletes the file it is given: the module removes the U3D file of a
// successful conversion, and the user's model must survive that. The copy
// is a temporaryFileC: unnamed where the system allows it.
#pragma once

#include "temporaryFile.h"

#include <string>

class progressC;

class temporaryCopyC {
public:
    // Copies source, showing the bytes copied as the step "copying". An
    // input error when the source cannot be read or the copy cannot be
    // written; nothing is left behind then.
    temporaryCopyC(const std::string& source, progressC& progress);
    temporaryCopyC(const temporaryCopyC&) = delete;
    temporaryCopyC& operator=(const temporaryCopyC&) = delete;

    // Where the copy is read.
    const std::string& path() const { return copy_.path(); }

private:
    temporaryFileC copy_;
};
