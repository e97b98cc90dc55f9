// Small U3D files made block by block for tests: the scenes a test needs,
// and faults that real files do not show.
#pragma once

#include "u3d/scene.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace u3dtest {

using bytesT = std::vector<uint8_t>;

// A whole block: type, sizes, data and metadata each padded to 4 bytes.
bytesT block(uint32_t type, const bytesT& data, const bytesT& metadata = {});

// The file: a header block that declares the file's size, then the blocks.
// With a units scale factor, the header carries it and the profile says so.
bytesT file(const std::vector<bytesT>& blocks, double unitsScale = 0);

// A modifier chain of the blocks, claiming `count` of them (by default as
// many as there are).
bytesT chain(const std::string& name, uint32_t type, const std::vector<bytesT>& blocks, int64_t count = -1);

struct parentT {
    std::string name;                     // empty: the world
    std::array<double, 3> translation{};  // the transform to the parent
};

// A group, model, light or view node block (the type says which).
bytesT node(uint32_t type, const std::string& name, const std::vector<parentT>& parents,
            const std::string& resource = "");

// A CLOD mesh declaration for up to `faces` faces and `positions`
// positions, one shading without colours, normals excluded, and its base
// mesh with these positions and faces (claiming `claimedFaces` faces
// instead of as many as there are, unless it is -1).
bytesT meshDeclaration(const std::string& name, uint32_t faces, uint32_t positions);
bytesT baseMesh(const std::string& name, const std::vector<std::array<float, 3>>& positions,
                const std::vector<std::array<uint32_t, 3>>& faces, int64_t claimedFaces = -1);

// A model resource chain with a mesh of one triangle, and a model node
// under the given parents showing it.
std::vector<bytesT> triangleModel(const std::string& node, const std::vector<parentT>& parents);

// The bytes of a file in the test data folder.
bytesT readBytes(const std::string& path);

// A 64-bit FNV-1a hash of everything a geometry decoded to: positions,
// normals and colours bit for bit, every index list and the shading ids,
// each with its length. Two decodings of a file that differ in any value
// differ here (but for a collision).
uint64_t contentHash(const u3d::geometryS& geometry);

// The first bytes of a U3D file up to and including its `count`-th block of
// type `type`, with the file header's declared size made to match: a file
// that stops there, as a reader sees one.
bytesT cutAfter(const bytesT& file, uint32_t type, int count);

}  // namespace u3dtest
