// Where the bytes of a U3D file come from while it is read block by block:
// memory, or a file read front to back so that only the block being
// decoded is held.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace u3d {

class byteSourceC {
public:
    virtual ~byteSourceC() = default;
    virtual uint64_t size() const = 0;
    // The bytes [offset, offset + count), all within size(). A call starts
    // at or after where the previous one started: more of the same block,
    // a window further on in it, or a later block (what lies between is
    // passed over). The span stays valid until the next call.
    virtual std::span<const uint8_t> bytes(uint64_t offset, std::size_t count) = 0;
};

class memorySourceC : public byteSourceC {
public:
    explicit memorySourceC(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    uint64_t size() const override { return bytes_.size(); }
    std::span<const uint8_t> bytes(uint64_t offset, std::size_t count) override {
        return bytes_.subspan(offset, count);
    }

private:
    std::span<const uint8_t> bytes_;
};

// A formatError when the file cannot be opened or read, or is shorter
// than it was when opened.
class fileSourceC : public byteSourceC {
public:
    explicit fileSourceC(const std::string& path);
    uint64_t size() const override { return size_; }
    std::span<const uint8_t> bytes(uint64_t offset, std::size_t count) override;

private:
    struct closeS {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, closeS> file_;
    uint64_t size_ = 0;
    // buffer_ holds the file's bytes from bufferStart_ on.
    std::vector<uint8_t> buffer_;
    uint64_t bufferStart_ = 0;
};

}  // namespace u3d
