#include "streamCopy.h"

#include "progress.h"

#include <cerrno>
#include <cstring>
#include <memory>

std::string copyStream(std::FILE* in, const std::string& source, std::FILE* out, const std::string& target,
                       progressC* progress, uint64_t total) {
    static constexpr size_t kPiece = 1 << 16;
    std::unique_ptr<char[]> piece(new char[kPiece]);
    uint64_t copied = 0;
    for (;;) {
        const size_t got = std::fread(piece.get(), 1, kPiece, in);
        if (got > 0 && std::fwrite(piece.get(), 1, got, out) != got)
            return "cannot write " + target + ": " + std::strerror(errno);
        copied += got;
        if (progress)
            progress->bytes(copied, total);
        if (got < kPiece)
            break;
    }
    if (std::ferror(in))
        return "cannot read " + source + ": " + std::strerror(errno);
    return {};
}
