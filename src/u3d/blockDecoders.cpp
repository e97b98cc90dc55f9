#include "u3d/blockDecoders.h"

#include "u3d/blockTypes.h"

namespace u3d {

namespace {

// A count of items that each take at least `bitsEach` plain bits; a
// formatError before anything is allocated for a count the block cannot
// hold.
uint32_t readCount(bitReaderC& in, uint64_t bitsEach, const char* what) {
    const uint32_t count = in.readU32();
    if (count > in.bitsLeft() / bitsEach)
        in.fail(std::string(what) + " count " + std::to_string(count) + " is more than the block's " +
                std::to_string(in.bitsLeft() / 8) + " bytes left can hold");
    return count;
}

color4f readRgb(bitReaderC& in) {
    color4f c;
    c.r = in.readF32();
    c.g = in.readF32();
    c.b = in.readF32();
    return c;
}

}  // namespace

nodeS readNode(bitReaderC& in, uint32_t blockType) {
    nodeS node;
    node.kind = blockType == kModelNodeBlock   ? nodeKindE::model
                : blockType == kLightNodeBlock ? nodeKindE::light
                : blockType == kViewNodeBlock  ? nodeKindE::view
                                               : nodeKindE::group;
    node.name = in.readString();
    // A parent is a name (at least its 16-bit length) and 16 F32 values.
    const uint32_t parents = readCount(in, 16 + 16 * 32, "parent");
    node.parents.resize(parents);
    for (parentS& parent : node.parents) {
        parent.name = in.readString();
        for (double& element : parent.transform.m)
            element = in.readF32();
    }
    // View nodes go on with clipping, projection, viewport, backdrops and
    // overlays, model nodes with their visibility: nothing of it is needed.
    if (node.kind != nodeKindE::group)
        node.resource = in.readString();
    return node;
}

shaderS readLitTextureShader(bitReaderC& in) {
    shaderS shader;
    shader.name = in.readString();
    shader.useVertexColors = in.readU32() & 4;
    in.readF32();  // alpha test reference
    in.readU32();  // alpha test function
    in.readU32();  // colour blend function
    in.readU32();  // render passes
    in.readU32();  // texture channels
    in.readU32();  // alpha texture channels
    shader.material = in.readString();
    // The texture layers follow.
    return shader;
}

materialS readMaterial(bitReaderC& in) {
    materialS material;
    material.name = in.readString();
    in.readU32();  // which of the colours below are in use: all are stored
    material.ambient = readRgb(in);
    material.diffuse = readRgb(in);
    material.specular = readRgb(in);
    material.emissive = readRgb(in);
    material.reflectivity = in.readF32();
    material.opacity = in.readF32();
    return material;
}

shadingModifierS readShadingModifier(bitReaderC& in) {
    shadingModifierS modifier;
    modifier.name = in.readString();
    in.readU32();  // modifier chain index
    in.readU32();  // which primitives it shades (meshes, lines, points, glyphs)
    const uint32_t lists = readCount(in, 32, "shader list");
    modifier.shaders.reserve(lists);
    for (uint32_t i = 0; i < lists; ++i) {
        const uint32_t shaders = readCount(in, 16, "shader");
        modifier.shaders.emplace_back();
        for (uint32_t j = 0; j < shaders; ++j) {
            std::string name = in.readString();
            if (j == 0)
                modifier.shaders.back() = std::move(name);
        }
    }
    return modifier;
}

void skipBounds(bitReaderC& in, uint32_t attributes) {
    const int values = (attributes & 1 ? 4 : 0) + (attributes & 2 ? 6 : 0);
    for (int i = 0; i < values; ++i)
        in.readF32();
}

fileReferenceS readFileReference(bitReaderC& in) {
    fileReferenceS reference;
    reference.scopeName = in.readString();
    skipBounds(in, in.readU32());
    const uint32_t urls = readCount(in, 16, "URL");
    reference.urls.reserve(urls);
    for (uint32_t i = 0; i < urls; ++i)
        reference.urls.push_back(in.readString());
    // Object filters, the name collision policy and the world alias follow.
    return reference;
}

}  // namespace u3d
