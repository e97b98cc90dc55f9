#include "u3d/byteSink.h"

#include "runtime/platform/platform.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace u3d {

void memorySinkC::append(std::span<const uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    size_ += bytes.size();
}

void memorySinkC::overwrite(uint64_t offset, std::span<const uint8_t> bytes) {
    std::memcpy(bytes_.data() + offset, bytes.data(), bytes.size());
}

namespace {

constexpr std::size_t kFileBuffer = 1 << 20;

// What a plain open for writing would refuse although a file beside it
// could be created: a directory, a read-only file. A symbolic link is
// written through, as a plain open would, so it is resolved to its target.
std::string preparedTarget(const std::string& path) {
    if (path.empty())
        throw std::runtime_error("cannot write a file with an empty name");
    std::error_code ec;
    if (!fs::exists(path, ec))
        return path;
    std::string target = path;
    if (fs::is_symlink(path, ec)) {
        const fs::path resolved = fs::canonical(path, ec);
        if (!ec)
            target = resolved.string();
    }
    // Append mode opens an existing file without changing it.
    std::FILE* probe = std::fopen(target.c_str(), "ab");
    if (!probe)
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
    std::fclose(probe);
    return target;
}

}  // namespace

replacingFileSinkC::replacingFileSinkC(const std::string& target) {
    shown_ = preparedTarget(target);
    const fs::path folder = fs::path(shown_).parent_path();
    std::random_device entropy;
    std::mt19937_64 tags((uint64_t(entropy()) << 32) ^ entropy());
    // A name that is taken is skipped for the next one.
    for (int attempt = 0; attempt < 100 && !file_; ++attempt) {
        char name[48];
        std::snprintf(name, sizeof name, ".u3dpdf-%016llx.u3d.tmp", static_cast<unsigned long long>(tags()));
        const std::string candidate = (folder / name).string();
        file_ = platform::createNewFile(candidate.c_str());
        if (file_)
            temporary_ = candidate;
        else if (errno != EEXIST)
            fail("cannot create a temporary file beside", errno);
    }
    if (!file_)
        fail("cannot create a temporary file beside", EEXIST);
    buffer_.resize(kFileBuffer);
    std::setvbuf(file_, buffer_.data(), _IOFBF, buffer_.size());
}

replacingFileSinkC::~replacingFileSinkC() {
    if (file_)
        std::fclose(file_);
    if (!temporary_.empty())
        std::remove(temporary_.c_str());
}

void streamSinkC::fail(const char* doing, int error) const {
    throw std::runtime_error(std::string(doing) + " " + shown_ + ": " + std::strerror(error));
}

// Only the header is ever overwritten, so every offset but the end fits a
// long; the end is found from the end.
void streamSinkC::seek(uint64_t offset) {
    const int failed = offset == size_ ? std::fseek(file_, 0, SEEK_END)
                                       : std::fseek(file_, static_cast<long>(start_ + offset), SEEK_SET);
    if (failed != 0)
        fail("cannot write", errno);
}

void streamSinkC::append(std::span<const uint8_t> bytes) {
    if (!file_)
        fail("cannot write", EBADF);
    if (!started_) {
        // The header, overwritten at the end, lies where writing began.
        const long at = std::ftell(file_);
        start_ = at > 0 ? static_cast<uint64_t>(at) : 0;
        started_ = true;
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), bytes.size(), 1, file_) != 1)
        fail("cannot write", errno);
    size_ += bytes.size();
}

void streamSinkC::overwrite(uint64_t offset, std::span<const uint8_t> bytes) {
    if (!file_)
        fail("cannot write", EBADF);
    seek(offset);
    if (std::fwrite(bytes.data(), bytes.size(), 1, file_) != 1)
        fail("cannot write", errno);
    seek(size_);
}

void replacingFileSinkC::commit() {
    if (!file_)
        fail("cannot write", EBADF);
    // Buffered bytes can still fail (a full disk shows up here).
    const bool flushed = std::fflush(file_) == 0;
    const int error = errno;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed)
        fail("cannot write", flushed ? errno : error);
    std::error_code ec;
    // A replaced file keeps its permissions.
    const fs::perms perms = fs::status(shown_, ec).permissions();
    if (!ec && perms != fs::perms::unknown)
        fs::permissions(temporary_, perms, ec);
    fs::rename(temporary_, shown_, ec);
    if (ec)
        throw std::runtime_error("cannot write " + shown_ + ": " + ec.message());
    temporary_.clear();
}

}  // namespace u3d
