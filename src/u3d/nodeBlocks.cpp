#include "u3d/nodeBlocks.h"

#include "u3d/bitWriter.h"
#include "u3d/blockTypes.h"

namespace u3d {

namespace {

// Both faces of every triangle are drawn: scanned and exported surfaces
// are often open or inconsistently wound, and a culled back face would
// show as a hole.
constexpr uint32_t kFrontAndBackVisible = 3;

// The shading modifier shades every kind of renderable: meshes, lines,
// points and glyphs.
constexpr uint32_t kShadeEverything = 0xF;

}  // namespace

outBlockS nodeBlock(const nodeS& node) {
    const bool model = node.kind == nodeKindE::model;
    bitWriterC w;
    w.writeString(node.name);
    w.writeU32(static_cast<uint32_t>(node.parents.size()));
    for (const parentS& parent : node.parents) {
        w.writeString(parent.name);
        for (double element : parent.transform.m)
            w.writeF32(static_cast<float>(element));
    }
    if (model) {
        w.writeString(node.resource);
        w.writeU32(kFrontAndBackVisible);
    }
    return {model ? kModelNodeBlock : kGroupNodeBlock, w.finish()};
}

outBlockS shadingModifierBlock(const std::string& chain, const std::vector<std::string>& shaders) {
    bitWriterC w;
    w.writeString(chain);
    w.writeU32(1);  // modifier chain index: after the node or declaration
    w.writeU32(kShadeEverything);
    w.writeU32(static_cast<uint32_t>(shaders.size()));
    for (const std::string& shader : shaders) {
        w.writeU32(1);
        w.writeString(shader);
    }
    return {kShadingModifierBlock, w.finish()};
}

}  // namespace u3d
