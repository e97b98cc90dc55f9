#include "u3d/reader.h"

#include "u3d/bitReader.h"
#include "u3d/blockDecoders.h"
#include "u3d/blockLayout.h"
#include "u3d/blockTypes.h"
#include "u3d/byteSource.h"
#include "u3d/sceneBuilder.h"

#include <cstdio>

namespace u3d {

namespace {

std::string hex32(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

// The file header block: version, profile, declaration size, file size,
// character encoding and, with the units profile flag, the units scale.
// A file shorter than it declares is cut short: even cut at a block
// boundary, it is missing blocks.
void readFileHeader(const blockS& block, fileSummaryS& summary, sceneBuilderC& builder) {
    bitReaderC in(block.data, block.place());
    summary.majorVersion = in.readI16();
    summary.minorVersion = in.readI16();
    summary.profile = in.readU32();
    summary.declarationSize = in.readU32();
    summary.declaredFileSize = in.readU64();
    summary.characterEncoding = in.readU32();
    if (summary.profile & kProfileDefinedUnits) {
        summary.hasUnitsScale = true;
        summary.unitsScale = in.readF64();
    }
    builder.setNoCompression(summary.profile & kProfileNoCompression);
    const std::string sizes = "the file header declares " + std::to_string(summary.declaredFileSize) +
                              " bytes, the file has " + std::to_string(summary.fileSize);
    if (summary.declaredFileSize > summary.fileSize)
        throw formatError(sizes + ": it is truncated", block.place());
    if (summary.declaredFileSize < summary.fileSize)
        builder.contentFault(formatError(sizes, block.place()));
}

// A modifier chain: name, chain type, attributes with optional bounds,
// padding to 4 bytes, the modifier count, then that many whole blocks.
void readModifierChain(const blockS& chainBlock, fileSummaryS& summary, sceneBuilderC& builder) {
    bitReaderC in(chainBlock.data, chainBlock.place());
    chainS chain;
    chain.name = in.readString();
    chain.type = in.readU32();
    skipBounds(in, in.readU32());
    for (uint64_t pad = (4 - in.bitsRead() / 8 % 4) % 4; pad > 0; --pad)
        in.readU8();
    const uint32_t count = in.readU32();
    uint64_t at = in.bitsRead() / 8;
    const uint64_t base = chainBlock.offset + kBlockHeaderSize;
    // Each block takes at least its header: a count beyond what the chain
    // holds fails at the first block that is not there.
    for (uint32_t i = 0; i < count; ++i) {
        if (chainBlock.data.size() - at < kBlockHeaderSize)
            throw formatError("the modifier chain claims " + std::to_string(count) + " blocks and holds " +
                                  std::to_string(i),
                              chainBlock.place());
        const blockS block = parseBlock(chainBlock.data, at, base, "its modifier chain");
        ++summary.blockCounts[block.type()];
        builder.decode(block, &chain);
        at += block.header.totalSize();
    }
}

u3dFileS readFrom(byteSourceC& source, const readOptionsS& options) {
    u3dFileS file;
    fileSummaryS& summary = file.summary;
    summary.fileSize = source.size();
    if (summary.fileSize < kBlockHeaderSize)
        throw formatError("not a U3D file: " + std::to_string(summary.fileSize) +
                              " bytes are too few for its file header block",
                          {std::nullopt, 0});
    sceneBuilderC builder(options, summary);
    for (uint64_t offset = 0; offset < summary.fileSize;) {
        if (summary.fileSize - offset < kBlockHeaderSize)
            throw formatError(std::to_string(summary.fileSize - offset) +
                                  " bytes at the end of the file are too few for a block header",
                              {std::nullopt, offset});
        const blockHeaderS header = parseBlockHeader(source.bytes(offset, kBlockHeaderSize));
        if (offset == 0 && header.type != kFileHeaderBlock)
            throw formatError("not a U3D file: it does not begin with a file header block (type " +
                                  hex32(kFileHeaderBlock) + ")",
                              {header.type, 0});
        checkBlockFits(header, offset, summary.fileSize - offset, "the file");
        // The file header and modifier chains are read whole (a chain's
        // blocks are parsed from its bytes); they are small in practice.
        const bool streamed =
            offset != 0 && header.type != kModifierChainBlock && header.dataSize > options.blockWindow;
        blockS block;
        if (streamed) {
            block.header = header;
            block.offset = offset;
            block.source = &source;
            block.window = options.blockWindow;
        } else {
            block = parseBlock(source.bytes(offset, header.totalSize()), 0, offset, "the file");
        }
        ++summary.blockCounts[block.type()];
        if (offset == 0)
            readFileHeader(block, summary, builder);
        else if (block.type() == kFileHeaderBlock)
            throw formatError("a second file header block", block.place());
        else if (block.type() == kModifierChainBlock)
            readModifierChain(block, summary, builder);
        else
            builder.decode(block, nullptr);
        offset += block.header.totalSize();
    }
    file.scene = builder.finish();
    file.scene.hasUnitsScale = summary.hasUnitsScale;
    file.scene.unitsScale = summary.unitsScale;
    return file;
}

}  // namespace

u3dFileS readU3dFile(const std::string& path, readOptionsS options) {
    fileSourceC source(path);
    return readFrom(source, options);
}

u3dFileS readU3dMemory(std::span<const uint8_t> bytes, readOptionsS options) {
    memorySourceC source(bytes);
    return readFrom(source, options);
}

}  // namespace u3d
