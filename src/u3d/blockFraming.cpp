#include "u3d/blockFraming.h"

#include "u3d/bitWriter.h"
#include "u3d/blockTypes.h"

#include <stdexcept>

namespace u3d {

namespace {

constexpr uint64_t kFrameHeadSize = 12;

void appendU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

}  // namespace

uint64_t framedSize(const outBlockS& block) {
    return kFrameHeadSize + block.data.size() + paddingAfter(block.data.size());
}

std::vector<uint8_t> blockFrameHead(uint32_t type, uint64_t dataSize) {
    if (dataSize > UINT32_MAX)
        throw std::runtime_error("a block of " + std::to_string(dataSize) + " bytes, more than a U3D block can hold");
    std::vector<uint8_t> head;
    head.reserve(kFrameHeadSize);
    appendU32(head, type);
    appendU32(head, static_cast<uint32_t>(dataSize));
    appendU32(head, 0);  // metadata size
    return head;
}

void appendFramed(std::vector<uint8_t>& out, const outBlockS& block) {
    const std::vector<uint8_t> head = blockFrameHead(block.type, block.data.size());
    out.insert(out.end(), head.begin(), head.end());
    out.insert(out.end(), block.data.begin(), block.data.end());
    out.insert(out.end(), paddingAfter(block.data.size()), 0);
}

outBlockS modifierChainBlock(const std::string& name, modifierChainE type, const std::vector<outBlockS>& modifiers) {
    bitWriterC w;
    w.writeString(name);
    w.writeU32(static_cast<uint32_t>(type));
    w.writeU32(0);  // attributes: no bounding sphere, no bounding box
    // The name is the only field of uneven length before the declarations.
    for (uint32_t i = paddingAfter(2 + name.size()); i > 0; --i)
        w.writeU8(0);
    w.writeU32(static_cast<uint32_t>(modifiers.size()));
    outBlockS chain{kModifierChainBlock, w.finish()};
    for (const outBlockS& modifier : modifiers)
        appendFramed(chain.data, modifier);
    return chain;
}

}  // namespace u3d
