// Turns the blocks of a U3D file, one at a time, into the scene.
#pragma once

#include "u3d/bitReader.h"
#include "u3d/blockLayout.h"
#include "u3d/clodMesh.h"
#include "u3d/fileSummary.h"
#include "u3d/primitiveSet.h"
#include "u3d/reader.h"
#include "u3d/scene.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace u3d {

// The modifier chain a block stands in.
struct chainS {
    std::string name;
    uint32_t type = 0;  // 0 node, 1 model resource, 2 texture
};

// Names work as the format's palettes do: a declaration of a name already
// declared replaces the earlier object (a node keeps its children, who
// name it as their parent).
class sceneBuilderC {
public:
    sceneBuilderC(readOptionsS options, fileSummaryS& summary) : options_(options), summary_(summary) {}

    // The file's no-compression profile flag.
    void setNoCompression(bool on) { noCompression_ = on; }

    // One block's content (not a modifier chain: the caller opens those and
    // hands over the blocks inside). A fault of the content is a formatError
    // when strict, else it is recorded in the summary and what the block
    // held stays out of the scene.
    void decode(const blockS& block, const chainS* chain);

    // A fault of the content found outside any block's decoding.
    void contentFault(const formatError& fault);

    // The scene, with the world box and instance count in the summary.
    sceneS finish();

private:
    struct geometryDecoderS {
        std::size_t index = 0;  // in scene_.geometries
        std::unique_ptr<clodMeshC> mesh;
        std::unique_ptr<primitiveSetC> set;
        bool failed = false;
    };

    void decodeContent(const blockS& block, const chainS* chain);
    void addNode(nodeS node, const blockS& block);
    geometryDecoderS& declareGeometry(const std::string& name);
    // The resource a continuation continues; null when an earlier block of
    // it failed (that fault was recorded already).
    geometryDecoderS* continued(bitReaderC& in, const std::string& name);
    void applyShadingModifier(bitReaderC& in, const chainS* chain);
    template <typename T>
    void put(std::vector<T>& items, std::unordered_map<std::string, std::size_t>& index, T item);

    readOptionsS options_;
    fileSummaryS& summary_;
    bool noCompression_ = false;
    sceneS scene_;
    std::unordered_map<std::string, std::size_t> nodes_;
    std::vector<blockPlaceS> nodePlaces_;  // parallel to scene_.nodes
    std::unordered_map<std::string, geometryDecoderS> geometries_;
    std::unordered_map<std::string, std::size_t> shaders_;
    std::unordered_map<std::string, std::size_t> materials_;
};

}  // namespace u3d
