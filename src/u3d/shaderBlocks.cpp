#include "u3d/shaderBlocks.h"

#include "u3d/bitWriter.h"
#include "u3d/blockTypes.h"

namespace u3d {

namespace {

constexpr uint32_t kLightingEnabled = 0x1;
constexpr uint32_t kUseVertexColors = 0x4;
constexpr uint32_t kAlphaTestAlways = 0x617;
constexpr uint32_t kAlphaBlend = 0x606;
constexpr uint32_t kFirstRenderPass = 0x1;
constexpr uint32_t kAllMaterialAttributes = 0x3F;

void writeRgb(bitWriterC& w, const color4f& c) {
    w.writeF32(c.r);
    w.writeF32(c.g);
    w.writeF32(c.b);
}

}  // namespace

outBlockS litTextureShaderBlock(const shaderS& shader, bool vertexColors) {
    bitWriterC w;
    w.writeString(shader.name);
    w.writeU32(kLightingEnabled | (vertexColors ? kUseVertexColors : 0));
    w.writeF32(0);  // alpha test reference
    w.writeU32(kAlphaTestAlways);
    w.writeU32(kAlphaBlend);
    w.writeU32(kFirstRenderPass);
    w.writeU32(0);  // texture channels
    w.writeU32(0);  // alpha texture channels
    w.writeString(shader.material);
    return {kLitTextureShaderBlock, w.finish()};
}

outBlockS materialBlock(const materialS& material) {
    bitWriterC w;
    w.writeString(material.name);
    w.writeU32(kAllMaterialAttributes);
    writeRgb(w, material.ambient);
    writeRgb(w, material.diffuse);
    writeRgb(w, material.specular);
    writeRgb(w, material.emissive);
    w.writeF32(material.reflectivity);
    w.writeF32(material.opacity);
    return {kMaterialResourceBlock, w.finish()};
}

}  // namespace u3d
