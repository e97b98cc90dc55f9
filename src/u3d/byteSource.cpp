#include "u3d/byteSource.h"

#include "u3d/formatError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace u3d {

fileSourceC::fileSourceC(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw formatError("cannot read: it is a directory", {});
    file_.reset(std::fopen(path.c_str(), "rb"));
    if (!file_)
        throw formatError(std::string("cannot open: ") + std::strerror(errno), {});
    size_ = std::filesystem::file_size(path, error);
    if (error)
        throw formatError("cannot read its size: " + error.message(), {});
}

std::span<const uint8_t> fileSourceC::bytes(uint64_t offset, std::size_t count) {
    // Drop what lies before the offset, then read up to offset + count.
    const uint64_t drop = std::min<uint64_t>(offset - bufferStart_, buffer_.size());
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(drop));
    bufferStart_ += drop;
    if (offset < bufferStart_)
        throw std::logic_error("U3D file read out of order");
    // The rest of a block read in windows that its decoder did not need, and
    // its metadata: read and dropped (seeking would need a 64-bit fseek of
    // each platform's own name).
    while (bufferStart_ < offset) {
        uint8_t skipped[65536];
        const std::size_t want = static_cast<std::size_t>(std::min<uint64_t>(offset - bufferStart_, sizeof skipped));
        const std::size_t got = std::fread(skipped, 1, want, file_.get());
        bufferStart_ += got;
        if (got != want)
            throw formatError(std::ferror(file_.get()) ? "cannot read" : "the file ended while it was read",
                              {std::nullopt, bufferStart_});
    }
    const std::size_t have = buffer_.size();
    if (have < count) {
        buffer_.resize(count);
        const std::size_t got = std::fread(buffer_.data() + have, 1, count - have, file_.get());
        if (got != count - have) {
            buffer_.resize(have + got);
            throw formatError(std::ferror(file_.get()) ? "cannot read" : "the file ended while it was read",
                              {std::nullopt, offset + have + got});
        }
    }
    return {buffer_.data(), count};
}

}  // namespace u3d
