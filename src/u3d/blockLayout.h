// The layout every U3D block shares: type, data size and metadata size
// (U32 each), then the data and the metadata, each padded with zeros to a
// multiple of 4 bytes.
#pragma once

#include "u3d/formatError.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace u3d {

inline constexpr uint64_t kBlockHeaderSize = 12;

inline constexpr uint64_t padded4(uint64_t size) { return (size + 3) & ~uint64_t(3); }

struct blockHeaderS {
    uint32_t type = 0;
    uint32_t dataSize = 0;
    uint32_t metadataSize = 0;

    // The whole block, header and padding included.
    uint64_t totalSize() const { return kBlockHeaderSize + padded4(dataSize) + padded4(metadataSize); }
};

// One block whose bytes are in memory.
class byteSourceC;

struct blockS {
    blockHeaderS header;
    uint64_t offset = 0;  // in the file
    std::span<const uint8_t> data;
    std::span<const uint8_t> metadata;
    // A block too large to hold at once has neither: its data is read from
    // `source` (at offset + kBlockHeaderSize) in windows of `window` bytes.
    byteSourceC* source = nullptr;
    std::size_t window = 0;

    uint32_t type() const { return header.type; }
    blockPlaceS place() const { return {header.type, offset}; }
};

// The header at the start of `bytes` (at least kBlockHeaderSize of them).
blockHeaderS parseBlockHeader(std::span<const uint8_t> bytes);

// A formatError unless a block of this header, at `offset` in the file,
// fits in the `left` bytes that remain of its container.
void checkBlockFits(const blockHeaderS& header, uint64_t offset, uint64_t left, const char* container);

// The block at `at` within `bytes`, whose first byte lies at `base` in the
// file; a formatError unless the whole block lies within `bytes`.
// `container` says what the bytes are ("the file", "the modifier chain").
blockS parseBlock(std::span<const uint8_t> bytes, uint64_t at, uint64_t base, const char* container);

}  // namespace u3d
