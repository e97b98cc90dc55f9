// A private copy of a file in the temporary directory, for a consumer that
// deletes the file it is given: the module removes the U3D file of a
// successful conversion, and the user's model must survive that. Where the
// system offers files without a name (hostPlatform::createUnnamedFile) the
// copy has none, so that not even a killed process leaves it behind; else
// it is a named file that an interruption removes (interruptGuard.h).
#pragma once

#include "hostPlatform.h"
#include "interruptGuard.h"

#include <memory>
#include <string>

class progressC;

class temporaryCopyC {
public:
    // Copies source, showing the bytes copied as the step "copying". An
    // input error when the source cannot be read or the copy cannot be
    // written; nothing is left behind then.
    temporaryCopyC(const std::string& source, progressC& progress);
    // Removes whatever of the copy is still there: all of it after a failed
    // conversion, nothing after one that consumed it.
    ~temporaryCopyC();
    temporaryCopyC(const temporaryCopyC&) = delete;
    temporaryCopyC& operator=(const temporaryCopyC&) = delete;

    // Where the copy is read.
    const std::string& path() const { return path_; }

private:
    hostPlatform::fileViewS unnamed_;
    std::unique_ptr<guardedFileC> named_;
    std::string path_;
};
