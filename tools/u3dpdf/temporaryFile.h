// A new file in the temporary directory that only this process uses: what
// a writer (a copy of a model, the U3D of an imported one) fills for the
// module, which deletes the U3D file it converts. Where the system offers
// files without a name (hostPlatform::createUnnamedFile) it has none, so
// that not even a killed process leaves it behind; else it is a named file
// that an interruption removes (interruptGuard.h).
#pragma once

#include "hostPlatform.h"
#include "interruptGuard.h"
#include "streamCopy.h"

#include <cstdio>
#include <memory>
#include <string>

class temporaryFileC {
public:
    // An empty file open for writing; an input error when none can be made.
    temporaryFileC();
    // Removes whatever of the file is still there: all of it after a
    // failed conversion, nothing after one that consumed it.
    ~temporaryFileC();
    temporaryFileC(const temporaryFileC&) = delete;
    temporaryFileC& operator=(const temporaryFileC&) = delete;

    // Where the writer writes, until finishWriting().
    std::FILE* file() const { return named_ ? namedFile_.get() : unnamed_.file; }
    // Where the file is read.
    const std::string& path() const { return path_; }
    // The file in messages.
    const std::string& shown() const { return shown_; }
    // Sends the last written bytes to the file; the error ("cannot write
    // ...: reason"), or empty. An unnamed file stays open: closing it would
    // delete it.
    std::string finishWriting();

private:
    hostPlatform::fileViewS unnamed_;
    std::unique_ptr<guardedFileC> named_;
    filePtr namedFile_;
    std::string path_;
    std::string shown_;
};
