#include "temporaryCopy.h"

#include "cliExit.h"
#include "hostPlatform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct fileCloserS {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using filePtr = std::unique_ptr<std::FILE, fileCloserS>;

// Copies in pieces: a model may be far larger than what is sensible to hold
// in memory at once. Returns the failing side's error text, empty on success.
std::string copyBytes(std::FILE* in, const std::string& source, std::FILE* out, const std::string& target) {
    static constexpr size_t kPiece = 1 << 16;
    std::unique_ptr<char[]> piece(new char[kPiece]);
    for (;;) {
        const size_t got = std::fread(piece.get(), 1, kPiece, in);
        if (got > 0 && std::fwrite(piece.get(), 1, got, out) != got)
            return "cannot write " + target + ": " + std::strerror(errno);
        if (got < kPiece)
            break;
    }
    if (std::ferror(in))
        return "cannot read " + source + ": " + std::strerror(errno);
    return {};
}

}  // namespace

temporaryCopyC::temporaryCopyC(const std::string& source) {
    filePtr in(std::fopen(source.c_str(), "rb"));
    if (!in)
        inputError("cannot read " + source + ": " + std::strerror(errno));
    const std::string dir = hostPlatform::temporaryDirectory();
    path_ = hostPlatform::createTemporaryFile(dir, "u3dpdf-", ".u3d");
    if (path_.empty())
        inputError("cannot create a temporary file in " + dir + ": " + std::strerror(errno));
    std::string error;
    {
        filePtr out(std::fopen(path_.c_str(), "wb"));
        if (!out)
            error = "cannot open " + path_ + ": " + std::strerror(errno);
        else
            error = copyBytes(in.get(), source, out.get(), path_);
        // The last bytes reach the file only here.
        if (out && std::fclose(out.release()) != 0 && error.empty())
            error = "cannot write " + path_ + ": " + std::strerror(errno);
    }
    if (!error.empty()) {
        std::remove(path_.c_str());
        inputError(error);
    }
}

temporaryCopyC::~temporaryCopyC() { std::remove(path_.c_str()); }
