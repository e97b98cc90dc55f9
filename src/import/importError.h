// How an import fails: one line that says what is wrong with the file,
// without the file's name (the caller puts it in front).
#pragma once

#include <stdexcept>
#include <string>

namespace meshimport {

class importError : public std::runtime_error {
public:
    // Line breaks and other control characters (loaders quote names and
    // lines from the file) become spaces, so the message stays one line.
    explicit importError(const std::string& message);
};

// No reader of this build recognises the file: the caller can point at the
// list of formats it reads.
class unknownFormatError : public importError {
public:
    using importError::importError;
};

}  // namespace meshimport
