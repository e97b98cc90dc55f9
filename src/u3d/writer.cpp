#include "u3d/writer.h"

#include "u3d/bitWriter.h"
#include "u3d/blockFraming.h"
#include "u3d/blockTypes.h"
#include "u3d/byteSink.h"
#include "u3d/clodMeshBlocks.h"
#include "u3d/compressionChoice.h"
#include "u3d/nodeBlocks.h"
#include "u3d/primitiveSetBlocks.h"
#include "u3d/sceneCheck.h"
#include "u3d/shaderBlocks.h"

#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

namespace u3d {

namespace {

constexpr uint32_t kProfileNoCompression = 0x4;
constexpr uint32_t kProfileUnitsScale = 0x8;
constexpr uint32_t kUtf8 = 106;

// Version 0.0, the base profile (with no compression and the units scale
// as the file has them), the two sizes, UTF-8 names.
outBlockS fileHeader(const sceneS& scene, bool noCompression, uint32_t declarationSize, uint64_t fileSize) {
    bitWriterC w;
    w.writeU32(0);
    w.writeU32((scene.hasUnitsScale ? kProfileUnitsScale : 0) | (noCompression ? kProfileNoCompression : 0));
    w.writeU32(declarationSize);
    w.writeU64(fileSize);
    w.writeU32(kUtf8);
    if (scene.hasUnitsScale)
        w.writeF64(scene.unitsScale);
    return {kFileHeaderBlock, w.finish()};
}

void put(byteSinkC& sink, const outBlockS& block) {
    sink.append(blockFrameHead(block.type, block.data.size()));
    sink.append(block.data);
    static constexpr uint8_t kZeros[4] = {};
    sink.append(std::span(kZeros, paddingAfter(block.data.size())));
}

outBlockS geometryChain(const geometryS& g) {
    const outBlockS declaration =
        g.kind == geometryKindE::mesh ? clodMeshDeclaration(g) : primitiveSetOutC(g).declaration();
    std::vector<outBlockS> blocks{declaration};
    if (!g.shaders.empty())
        blocks.push_back(shadingModifierBlock(g.name, g.shaders));
    return modifierChainBlock(g.name, modifierChainE::modelResource, blocks);
}

void putContinuation(byteSinkC& sink, const geometryS& g, bool noCompression) {
    if (g.kind == geometryKindE::mesh) {
        if (hasBaseMesh(g))
            put(sink, clodBaseMesh(g, noCompression));
        return;
    }
    const primitiveSetOutC set(g);
    if (set.hasContinuation())
        put(sink, set.continuation(noCompression));
}

// The shaders that draw a geometry with diffuse colours.
std::unordered_set<std::string> vertexColorShaders(const sceneS& scene) {
    std::unordered_map<std::string, const geometryS*> geometries;
    for (const geometryS& g : scene.geometries)
        geometries.emplace(g.name, &g);
    std::unordered_set<std::string> shaders;
    for (const nodeS& node : scene.nodes) {
        const auto g = geometries.find(node.resource);
        if (node.kind != nodeKindE::model || g == geometries.end() || g->second->diffuseIndices.empty())
            continue;
        // A model without shaders of its own draws with its geometry's.
        const std::vector<std::string>& drawing = node.shaders.empty() ? g->second->shaders : node.shaders;
        shaders.insert(drawing.begin(), drawing.end());
    }
    return shaders;
}

// Writes a scene that checkWritable() accepted.
void writeScene(const sceneS& scene, byteSinkC& sink) {
    const bool noCompression = plainIsAsGood(scene);
    // The header's sizes are known at the end; its length is known now.
    put(sink, fileHeader(scene, noCompression, 0, 0));

    for (const nodeS& node : scene.nodes) {
        std::vector<outBlockS> modifiers{nodeBlock(node)};
        if (hasShadingModifier(node))
            modifiers.push_back(shadingModifierBlock(node.name, node.shaders));
        put(sink, modifierChainBlock(node.name, modifierChainE::node, modifiers));
    }
    for (const geometryS& g : scene.geometries)
        put(sink, geometryChain(g));
    const std::unordered_set<std::string> coloured = vertexColorShaders(scene);
    for (const shaderS& shader : scene.shaders)
        put(sink, litTextureShaderBlock(shader, coloured.count(shader.name) > 0));
    for (const materialS& material : scene.materials)
        put(sink, materialBlock(material));

    const uint64_t declarationSize = sink.size();
    if (declarationSize > UINT32_MAX)
        throw std::runtime_error("declarations of more than 4 GiB, more than a U3D header can count");
    for (const geometryS& g : scene.geometries)
        putContinuation(sink, g, noCompression);

    outBlockS header = fileHeader(scene, noCompression, static_cast<uint32_t>(declarationSize), sink.size());
    std::vector<uint8_t> framed;
    appendFramed(framed, header);
    sink.overwrite(0, framed);
}

}  // namespace

std::vector<uint8_t> writeU3dMemory(const sceneS& scene) {
    checkWritable(scene);
    memorySinkC sink;
    writeScene(scene, sink);
    return sink.take();
}

void writeU3dFile(const sceneS& scene, const std::string& path) {
    // Nothing is created for a scene that cannot be written.
    checkWritable(scene);
    replacingFileSinkC sink(path);
    writeScene(scene, sink);
    sink.commit();
}

void writeU3dStream(const sceneS& scene, std::FILE* file, const std::string& shown) {
    checkWritable(scene);
    streamSinkC sink(file, shown);
    writeScene(scene, sink);
}

}  // namespace u3d
