#include "temporaryCopy.h"

#include "cliExit.h"
#include "progress.h"
#include "streamCopy.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// A pipe or a device tells no size: only the bytes so far are shown then.
uint64_t knownSize(const std::string& path) {
    std::error_code unknown;
    const uintmax_t size = std::filesystem::file_size(path, unknown);
    return unknown ? 0 : size;
}

}  // namespace

temporaryCopyC::temporaryCopyC(const std::string& source, progressC& progress) {
    filePtr in(std::fopen(source.c_str(), "rb"));
    if (!in)
        inputError("cannot read " + source + ": " + std::strerror(errno));
    progress.step("copying");
    std::string error = copyStream(in.get(), source, copy_.file(), copy_.shown(), &progress, knownSize(source));
    const std::string finished = copy_.finishWriting();
    if (error.empty())
        error = finished;
    // A failed copy goes with the member.
    if (!error.empty())
        inputError(error);
}
