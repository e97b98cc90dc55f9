#include "u3dTestFiles.h"

#include "u3d/bitWriter.h"
#include "u3d/blockTypes.h"
#include "u3d/contexts.h"

#include <fstream>
#include <iterator>

namespace u3dtest {

namespace {

void append(bytesT& out, const bytesT& more) { out.insert(out.end(), more.begin(), more.end()); }

void putU32(bytesT& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void pad(bytesT& out) {
    while (out.size() % 4 != 0)
        out.push_back(0);
}

}  // namespace

bytesT block(uint32_t type, const bytesT& data, const bytesT& metadata) {
    bytesT out;
    putU32(out, type);
    putU32(out, static_cast<uint32_t>(data.size()));
    putU32(out, static_cast<uint32_t>(metadata.size()));
    append(out, data);
    pad(out);
    append(out, metadata);
    pad(out);
    return out;
}

bytesT file(const std::vector<bytesT>& blocks, double unitsScale) {
    const bool units = unitsScale != 0;
    uint64_t size = 12 + (units ? 32 : 24);
    for (const bytesT& b : blocks)
        size += b.size();
    u3d::bitWriterC header;
    header.writeI16(256);
    header.writeI16(0);
    header.writeU32(units ? 8 : 0);   // profile: defined units
    header.writeU32(units ? 44 : 36);  // declaration size: the header block
    header.writeU64(size);
    header.writeU32(106);  // UTF-8
    if (units)
        header.writeF64(unitsScale);
    bytesT out = block(u3d::kFileHeaderBlock, header.finish());
    for (const bytesT& b : blocks)
        append(out, b);
    return out;
}

bytesT chain(const std::string& name, uint32_t type, const std::vector<bytesT>& blocks, int64_t count) {
    u3d::bitWriterC w;
    w.writeString(name);
    w.writeU32(type);
    w.writeU32(0);  // no bounds
    bytesT data = w.finish();
    pad(data);
    putU32(data, count < 0 ? static_cast<uint32_t>(blocks.size()) : static_cast<uint32_t>(count));
    for (const bytesT& b : blocks)
        append(data, b);
    return block(u3d::kModifierChainBlock, data);
}

bytesT node(uint32_t type, const std::string& name, const std::vector<parentT>& parents, const std::string& resource) {
    u3d::bitWriterC w;
    w.writeString(name);
    w.writeU32(static_cast<uint32_t>(parents.size()));
    for (const parentT& parent : parents) {
        w.writeString(parent.name);
        for (int i = 0; i < 16; ++i)
            w.writeF32(i % 5 == 0 ? 1.0f : i >= 12 && i < 15 ? static_cast<float>(parent.translation[i - 12]) : 0.0f);
    }
    if (type != u3d::kGroupNodeBlock)
        w.writeString(resource);
    if (type == u3d::kModelNodeBlock)
        w.writeU32(3);  // visible from both sides
    return block(type, w.finish());
}

bytesT meshDeclaration(const std::string& name, uint32_t faces, uint32_t positions) {
    u3d::bitWriterC w;
    w.writeString(name);
    w.writeU32(0);  // chain index
    w.writeU32(1);  // normals excluded
    w.writeU32(faces);
    w.writeU32(positions);
    for (int i = 0; i < 4; ++i)
        w.writeU32(0);  // normals, diffuse and specular colours, texture coordinates
    w.writeU32(1);      // one shading
    w.writeU32(0);      // without colours
    w.writeU32(0);      // or texture layers
    w.writeU32(0);      // original shading id
    w.writeU32(positions);  // minimum resolution
    w.writeU32(positions);  // final maximum resolution
    for (int i = 0; i < 3; ++i)
        w.writeU32(1000);  // quality factors
    for (int i = 0; i < 5; ++i)
        w.writeF32(0.01f);  // inverse quantisation
    for (int i = 0; i < 3; ++i)
        w.writeF32(0.5f);  // normal parameters
    w.writeU32(0);         // no bones
    return block(u3d::kClodMeshDeclarationBlock, w.finish());
}

bytesT baseMesh(const std::string& name, const std::vector<std::array<float, 3>>& positions,
                const std::vector<std::array<uint32_t, 3>>& faces, int64_t claimedFaces) {
    u3d::bitWriterC w;
    w.writeString(name);
    w.writeU32(0);
    w.writeU32(claimedFaces < 0 ? static_cast<uint32_t>(faces.size()) : static_cast<uint32_t>(claimedFaces));
    w.writeU32(static_cast<uint32_t>(positions.size()));
    for (int i = 0; i < 4; ++i)
        w.writeU32(0);
    for (const auto& p : positions)
        for (float v : p)
            w.writeF32(v);
    for (const auto& f : faces) {
        w.writeCompressedU32(u3d::ctx::kShadingId, 0);
        for (uint32_t corner : f)
            w.writeCompressedU32(u3d::staticContext(static_cast<uint32_t>(positions.size())), corner);
    }
    return block(u3d::kClodBaseMeshContinuationBlock, w.finish());
}

std::vector<bytesT> triangleModel(const std::string& nodeName, const std::vector<parentT>& parents) {
    const std::string mesh = nodeName + "Mesh";
    return {chain(nodeName, 0, {node(u3d::kModelNodeBlock, nodeName, parents, mesh)}),
            chain(mesh, 1, {meshDeclaration(mesh, 1, 3), baseMesh(mesh, {{0, 0, 0}, {1, 0, 0}, {0, 2, 0}}, {{0, 1, 2}})})};
}

bytesT readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return bytesT(std::istreambuf_iterator<char>(in), {});
}

namespace {

struct fnvS {
    uint64_t hash = 0xCBF29CE484222325u;

    void bytes(const void* data, std::size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        for (std::size_t i = 0; i < size; ++i)
            hash = (hash ^ p[i]) * 0x100000001B3u;
    }
    template <typename T>
    void items(const std::vector<T>& v) {
        const uint64_t size = v.size();
        bytes(&size, sizeof size);
        bytes(v.data(), v.size() * sizeof(T));
    }
};

uint32_t getU32(const bytesT& in, std::size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | in.at(at + i);
    return value;
}

}  // namespace

uint64_t contentHash(const u3d::geometryS& geometry) {
    static_assert(sizeof(u3d::vec3f) == 12 && sizeof(u3d::color4f) == 16, "hashed as their bytes");
    fnvS h;
    h.items(geometry.positions);
    h.items(geometry.positionIndices);
    h.items(geometry.normals);
    h.items(geometry.normalIndices);
    h.items(geometry.diffuseColors);
    h.items(geometry.diffuseIndices);
    h.items(geometry.shadingIds);
    return h.hash;
}

bytesT cutAfter(const bytesT& file, uint32_t type, int count) {
    std::size_t at = 0;
    for (int seen = 0; seen < count;) {
        const uint32_t blockType = getU32(file, at);
        const auto padded = [](uint32_t size) { return (size + 3) / 4 * 4; };
        at += 12 + padded(getU32(file, at + 4)) + padded(getU32(file, at + 8));
        if (blockType == type)
            ++seen;
    }
    bytesT cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(at));
    // The header block's data: versions, profile, declaration size, then
    // the file size as a U64.
    for (int i = 0; i < 8; ++i)
        cut.at(12 + 12 + i) = static_cast<uint8_t>(uint64_t(at) >> (8 * i));
    return cut;
}

}  // namespace u3dtest
