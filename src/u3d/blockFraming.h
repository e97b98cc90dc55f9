// The frame of every written U3D block (type, data size, metadata size,
// then the data padded with zeros to a multiple of 4 bytes; the writer
// attaches no metadata), and the modifier chain block that holds the
// declarations of one node or resource.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace u3d {

struct outBlockS {
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

// Bytes the framed block takes in the file.
uint64_t framedSize(const outBlockS& block);

// Appends the framed block; std::runtime_error when its data does not fit
// the frame's 32-bit size.
void appendFramed(std::vector<uint8_t>& out, const outBlockS& block);

// The frame's first 12 bytes alone, for a block whose data is written
// after them.
std::vector<uint8_t> blockFrameHead(uint32_t type, uint64_t dataSize);

// Bytes of zeros that pad `size` bytes to a multiple of 4.
inline uint32_t paddingAfter(uint64_t size) { return static_cast<uint32_t>((4 - (size & 3)) & 3); }

enum class modifierChainE : uint32_t { node = 0, modelResource = 1, textureResource = 2 };

// A modifier chain named for its object: the chain's name and type, no
// bounding volume, padding that aligns the declarations within the block
// to 4 bytes, their count, then each declaration framed.
outBlockS modifierChainBlock(const std::string& name, modifierChainE type, const std::vector<outBlockS>& modifiers);

}  // namespace u3d
