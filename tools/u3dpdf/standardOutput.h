// "-o -": the result goes to standard output. The module and the other
// writers write files, not streams, so the command has them write a file of
// its own in the temporary directory and copies the finished file to
// standard output, byte for byte.
#pragma once

#include "interruptGuard.h"

#include <string>

class standardOutputC {
public:
    // Reserves the name: "u3dpdf-PID-N" with the extension in the temporary
    // directory, which no file has yet, so that the writer creates it as it
    // creates any new output. An interruption removes it.
    explicit standardOutputC(const char* extension);
    ~standardOutputC() = default;
    standardOutputC(const standardOutputC&) = delete;
    standardOutputC& operator=(const standardOutputC&) = delete;

    // Where the writer writes.
    const std::string& path() const { return file_.path(); }
    // Copies the written file to standard output and removes it. An error
    // (exit status 2) when the file cannot be read or standard output does
    // not take the bytes.
    void deliver();

private:
    guardedFileC file_;
};
