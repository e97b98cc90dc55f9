#include "u3d/blockLayout.h"

#include <string>

namespace u3d {

namespace {

uint32_t u32At(std::span<const uint8_t> bytes, std::size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

}  // namespace

blockHeaderS parseBlockHeader(std::span<const uint8_t> bytes) {
    return {u32At(bytes, 0), u32At(bytes, 4), u32At(bytes, 8)};
}

void checkBlockFits(const blockHeaderS& header, uint64_t offset, uint64_t left, const char* container) {
    if (header.totalSize() > left)
        throw formatError("data size " + std::to_string(header.dataSize) + " and metadata size " +
                              std::to_string(header.metadataSize) + " run past the end of " + container + " (" +
                              std::to_string(left) + " bytes left)",
                          {header.type, offset});
}

blockS parseBlock(std::span<const uint8_t> bytes, uint64_t at, uint64_t base, const char* container) {
    const uint64_t left = bytes.size() - at;
    if (left < kBlockHeaderSize)
        throw formatError(std::to_string(left) + " bytes at the end of " + container +
                              " are too few for a block header",
                          {std::nullopt, base + at});
    blockS block;
    block.header = parseBlockHeader(bytes.subspan(at));
    block.offset = base + at;
    checkBlockFits(block.header, block.offset, left, container);
    const uint64_t data = at + kBlockHeaderSize;
    block.data = bytes.subspan(data, block.header.dataSize);
    block.metadata = bytes.subspan(data + padded4(block.header.dataSize), block.header.metadataSize);
    return block;
}

}  // namespace u3d
