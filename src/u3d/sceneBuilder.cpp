#include "u3d/sceneBuilder.h"

#include "u3d/blockDecoders.h"
#include "u3d/blockTypes.h"
#include "u3d/sceneInstances.h"

namespace u3d {

void sceneBuilderC::contentFault(const formatError& fault) {
    if (options_.strict)
        throw fault;
    summary_.faults.push_back(fault.what());
}

void sceneBuilderC::decode(const blockS& block, const chainS* chain) {
    try {
        decodeContent(block, chain);
    } catch (const formatError& fault) {
        contentFault(fault);
    }
}

template <typename T>
void sceneBuilderC::put(std::vector<T>& items, std::unordered_map<std::string, std::size_t>& index, T item) {
    const auto [entry, fresh] = index.try_emplace(item.name, items.size());
    if (fresh)
        items.push_back(std::move(item));
    else
        items[entry->second] = std::move(item);
}

void sceneBuilderC::addNode(nodeS node, const blockS& block) {
    const auto [entry, fresh] = nodes_.try_emplace(node.name, scene_.nodes.size());
    if (fresh) {
        scene_.nodes.push_back(std::move(node));
        nodePlaces_.push_back(block.place());
    } else {
        scene_.nodes[entry->second] = std::move(node);
        nodePlaces_[entry->second] = block.place();
    }
}

sceneBuilderC::geometryDecoderS& sceneBuilderC::declareGeometry(const std::string& name) {
    auto [entry, fresh] = geometries_.try_emplace(name);
    geometryDecoderS& decoder = entry->second;
    if (fresh) {
        decoder.index = scene_.geometries.size();
        scene_.geometries.emplace_back();
    }
    // A new declaration starts the resource afresh.
    geometryS& geometry = scene_.geometries[decoder.index];
    geometry = geometryS();
    geometry.name = name;
    decoder.mesh.reset();
    decoder.set.reset();
    decoder.failed = false;
    return decoder;
}

sceneBuilderC::geometryDecoderS* sceneBuilderC::continued(bitReaderC& in, const std::string& name) {
    const auto found = geometries_.find(name);
    if (found == geometries_.end())
        in.fail("a continuation of \"" + name + "\", which no declaration before it declares");
    return found->second.failed ? nullptr : &found->second;
}

void sceneBuilderC::applyShadingModifier(bitReaderC& in, const chainS* chain) {
    shadingModifierS modifier = readShadingModifier(in);
    // In a chain it shades the chain's node or resource; alone, the node
    // or else the resource of its name.
    const std::string& name = chain ? chain->name : modifier.name;
    const bool onNode = chain ? chain->type == 0 : nodes_.count(name) != 0;
    if (onNode) {
        const auto node = nodes_.find(name);
        if (node != nodes_.end())
            scene_.nodes[node->second].shaders = std::move(modifier.shaders);
    } else {
        const auto geometry = geometries_.find(name);
        if (geometry != geometries_.end())
            scene_.geometries[geometry->second.index].shaders = std::move(modifier.shaders);
    }
}

void sceneBuilderC::decodeContent(const blockS& block, const chainS* chain) {
    bitReaderC in = dataReader(block);
    in.setNoCompression(noCompression_);
    switch (block.type()) {
        case kGroupNodeBlock:
        case kModelNodeBlock:
        case kLightNodeBlock:
        case kViewNodeBlock:
            addNode(readNode(in, block.type()), block);
            break;
        case kLitTextureShaderBlock:
            put(scene_.shaders, shaders_, readLitTextureShader(in));
            break;
        case kMaterialResourceBlock:
            put(scene_.materials, materials_, readMaterial(in));
            break;
        case kShadingModifierBlock:
            applyShadingModifier(in, chain);
            break;
        case kFileReferenceBlock: {
            fileReferenceS reference = readFileReference(in);
            reference.offset = block.offset;
            summary_.fileReferences.push_back(std::move(reference));
            break;
        }
        case kClodMeshDeclarationBlock:
        case kLineSetDeclarationBlock:
        case kPointSetDeclarationBlock: {
            geometryDecoderS& decoder = declareGeometry(in.readString());
            try {
                geometryS& geometry = scene_.geometries[decoder.index];
                if (block.type() == kClodMeshDeclarationBlock) {
                    decoder.mesh = std::make_unique<clodMeshC>();
                    decoder.mesh->readDeclaration(in, geometry);
                } else {
                    decoder.set = std::make_unique<primitiveSetC>(
                        block.type() == kLineSetDeclarationBlock ? geometryKindE::lineSet : geometryKindE::pointSet);
                    decoder.set->readDeclaration(in, geometry);
                }
            } catch (const formatError&) {
                decoder.failed = true;
                throw;
            }
            break;
        }
        case kClodBaseMeshContinuationBlock:
        case kClodProgressiveMeshContinuationBlock:
        case kLineSetContinuationBlock:
        case kPointSetContinuationBlock: {
            geometryDecoderS* decoder = continued(in, in.readString());
            if (!decoder)
                break;
            geometryS& geometry = scene_.geometries[decoder->index];
            try {
                if (block.type() == kClodBaseMeshContinuationBlock || block.type() == kClodProgressiveMeshContinuationBlock) {
                    if (!decoder->mesh)
                        in.fail("a mesh continuation of \"" + geometry.name + "\", which is no mesh");
                    if (block.type() == kClodBaseMeshContinuationBlock)
                        decoder->mesh->readBaseMesh(in, geometry);
                    else
                        decoder->mesh->readResolutionUpdates(in, geometry);
                } else {
                    const geometryKindE kind =
                        block.type() == kLineSetContinuationBlock ? geometryKindE::lineSet : geometryKindE::pointSet;
                    if (!decoder->set || geometry.kind != kind)
                        in.fail("a continuation of \"" + geometry.name + "\", which is not of its kind");
                    decoder->set->readContinuation(in, geometry);
                }
            } catch (const formatError&) {
                // What the resource held so far is no consistent whole.
                const std::string name = geometry.name;
                geometry = geometryS();
                geometry.name = name;
                decoder->failed = true;
                throw;
            }
            break;
        }
        case kModifierChainBlock:
            in.fail("a modifier chain inside a modifier chain");
        default:
            // Animation, bones, subdivision, CLOD and glyph modifiers,
            // textures, motions, lights' and views' resources, priority
            // updates, new object types and their blocks: counted, not
            // needed for the scene.
            break;
    }
}

sceneS sceneBuilderC::finish() {
    for (auto& [name, decoder] : geometries_)
        if (decoder.mesh && !decoder.failed)
            decoder.mesh->finish(scene_.geometries[decoder.index]);
    try {
        const std::vector<modelInstanceS> instances = modelInstances(scene_);
        summary_.modelInstanceCount = instances.size();
        summary_.worldBox = worldBox(scene_, instances);
    } catch (const sceneError& error) {
        contentFault(formatError(error.what(), nodePlaces_[error.node()]));
    }
    return std::move(scene_);
}

}  // namespace u3d
