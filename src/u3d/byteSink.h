// Where a written U3D file goes: bytes appended at the end, and a few bytes
// overwritten once they are known (the header's sizes are known only after
// the last block).
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
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

// A file written beside its target under a hidden temporary name and moved
// onto the target by commit(): a failed write never leaves a partial file
// and never destroys a file already at the path. Destroyed without
// commit(), it removes its temporary file. Faults are std::runtime_error,
// one line naming the target.
class replacingFileSinkC : public byteSinkC {
public:
    explicit replacingFileSinkC(const std::string& target);
    ~replacingFileSinkC() override;
    replacingFileSinkC(const replacingFileSinkC&) = delete;
    replacingFileSinkC& operator=(const replacingFileSinkC&) = delete;

    void append(std::span<const uint8_t> bytes) override;
    void overwrite(uint64_t offset, std::span<const uint8_t> bytes) override;
    void commit();

private:
    [[noreturn]] void fail(const char* doing, int error) const;
    void seek(uint64_t offset);

    std::string target_;
    std::string temporary_;
    std::vector<char> buffer_;  // outlives file_, which it buffers
    std::FILE* file_ = nullptr;
};

}  // namespace u3d
