// A conversion failure that the translator itself detects, with the reason
// already in the words the host passes on to its user.
#pragma once

#include "runtime/str/str.h"

#include <exception>

class conversionErrorC : public std::exception {
public:
    explicit conversionErrorC(const str& reason) : reason_(reason) {}
    const char* what() const noexcept override { return reason_.text(); }

private:
    str reason_;
};

// The text with every control character (line ends, tabs) replaced by a
// blank and trailing blanks removed: a reason is one line in a host's log
// or a terminal, whatever a path or a request value holds. A text longer
// than maxLength is cut there and ends in "...".
str oneLine(const char* text, int maxLength = 4096);

// "what: reason" with the system's words for an errno value, or just what
// when error is 0.
str withSystemReason(const str& what, int error);
