// Copying an open file into another, in pieces: a model may be far larger
// than what is sensible to hold in memory at once.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class progressC;

struct fileCloserS {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
// An open file, closed when it goes.
using filePtr = std::unique_ptr<std::FILE, fileCloserS>;

// Copies the rest of in (named source in messages) to out (named target).
// Returns the failing side's error text, "cannot read SOURCE: reason" or
// "cannot write TARGET: reason", empty on success. When progress is given
// it is told the bytes copied so far, of total (0 when unknown).
std::string copyStream(std::FILE* in, const std::string& source, std::FILE* out, const std::string& target,
                       progressC* progress = nullptr, uint64_t total = 0);
