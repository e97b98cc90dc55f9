// The one error that reading U3D data raises: what is wrong, and in which
// block of the file (its type and the offset where the block starts).
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace u3d {

// Where a fault was found: the block that holds it, when there is one.
struct blockPlaceS {
    std::optional<uint32_t> type;
    uint64_t offset = 0;
};

// Bad input: not U3D at all, truncated, sizes that run past the end, data
// that does not decode. what() is one line without a line end, for
// example "block 0xFFFFFF3B (CLOD base mesh continuation) at offset 1234:
// face count 4294967295 exceeds what 812 bytes can hold"; callers prefix
// the file's name.
class formatError : public std::runtime_error {
public:
    formatError(const std::string& fault, blockPlaceS place);

    const std::string& fault() const { return fault_; }
    const blockPlaceS& place() const { return place_; }

private:
    std::string fault_;
    blockPlaceS place_;
};

}  // namespace u3d
