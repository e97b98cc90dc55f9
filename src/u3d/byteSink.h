// Where a written U3D file goes: bytes appended at the end, and a few bytes
// overwritten once they are known (the header's sizes are known only after
// the last block).
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace u3d {

class byteSinkC {
public:
    virtual ~byteSinkC() = default;
    virtual void append(std::span<const uint8_t> bytes) = 0;
    // Replaces bytes already appended.
    virtual void overwrite(uint64_t offset, std::span<const uint8_t> bytes) = 0;
    uint64_t size() const { return size_; }

protected:
    uint64_t size_ = 0;
};

class memorySinkC : public byteSinkC {
public:
    void append(std::span<const uint8_t> bytes) override;
    void overwrite(uint64_t offset, std::span<const uint8_t> bytes) override;
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

// An open file that someone else owns, written from where it stands.
// Faults are std::runtime_error, one line naming the file as `shown`.
class streamSinkC : public byteSinkC {
public:
    streamSinkC(std::FILE* file, std::string shown) : file_(file), shown_(std::move(shown)) {}

    void append(std::span<const uint8_t> bytes) override;
    void overwrite(uint64_t offset, std::span<const uint8_t> bytes) override;

protected:
    streamSinkC() = default;
    [[noreturn]] void fail(const char* doing, int error) const;

    std::FILE* file_ = nullptr;
    std::string shown_;

private:
    void seek(uint64_t offset);
    uint64_t start_ = 0;  // where the file stood when writing began
    bool started_ = false;
};

// A file written beside its target under a hidden temporary name and moved
// onto the target by commit(): a failed write never leaves a partial file
// and never destroys a file already at the path. Destroyed without
// commit(), it removes its temporary file.
class replacingFileSinkC : public streamSinkC {
public:
    explicit replacingFileSinkC(const std::string& target);
    ~replacingFileSinkC() override;
    replacingFileSinkC(const replacingFileSinkC&) = delete;
    replacingFileSinkC& operator=(const replacingFileSinkC&) = delete;

    void commit();

private:
    std::string temporary_;
    std::vector<char> buffer_;  // outlives file_, which it buffers
};

}  // namespace u3d
