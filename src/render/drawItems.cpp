#include "render/drawItems.h"

#include "u3d/sceneInstances.h"

#include <algorithm>
#include <cmath>

namespace render {

void boxF::add(const float p[3]) {
    for (int i = 0; i < 3; ++i) {
        min[i] = empty ? p[i] : std::min(min[i], p[i]);
        max[i] = empty ? p[i] : std::max(max[i], p[i]);
    }
    empty = false;
}

materialColoursS defaultMaterial() {
    materialColoursS m;
    m.surface.diffuse = {0.8f, 0.8f, 0.8f};
    m.surface.ambient = {0.8f, 0.8f, 0.8f};
    return m;
}

const materialColoursS& drawItemS::material(std::size_t primitive) const {
    const std::size_t id = info->shadingIds ? info->geometry->shadingIds[primitive] : 0;
    return (*materials)[std::min(id, materials->size() - 1)];
}

namespace {

std::unique_ptr<geometryInfoS> describe(const u3d::geometryS& g) {
    auto info = std::make_unique<geometryInfoS>();
    info->geometry = &g;
    info->primitives = g.primitiveCount();
    const std::size_t corners = info->primitives * u3d::cornersPerPrimitive(g.kind);
    info->normals = !g.normalIndices.empty() && g.normalIndices.size() >= corners;
    info->colours = !g.diffuseIndices.empty() && g.diffuseIndices.size() >= corners;
    info->shadingIds = !g.shadingIds.empty() && g.shadingIds.size() >= info->primitives;

    const std::size_t cornersPerChunk = geometryInfoS::kChunk * u3d::cornersPerPrimitive(g.kind);
    info->chunkBoxes.resize((corners + cornersPerChunk - 1) / cornersPerChunk);
    for (std::size_t chunk = 0; chunk < info->chunkBoxes.size(); ++chunk) {
        float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
        bool empty = true;
        for (std::size_t c = chunk * cornersPerChunk; c < std::min(corners, (chunk + 1) * cornersPerChunk); ++c) {
            const uint32_t index = g.positionIndices[c];
            if (index >= g.positions.size())
                continue;
            const u3d::vec3f& p = g.positions[index];
            if (empty) {
                lo[0] = hi[0] = p.x, lo[1] = hi[1] = p.y, lo[2] = hi[2] = p.z;
                empty = false;
            }
            lo[0] = std::min(lo[0], p.x), lo[1] = std::min(lo[1], p.y), lo[2] = std::min(lo[2], p.z);
            hi[0] = std::max(hi[0], p.x), hi[1] = std::max(hi[1], p.y), hi[2] = std::max(hi[2], p.z);
        }
        if (!empty) {
            info->chunkBoxes[chunk].add(lo);
            info->chunkBoxes[chunk].add(hi);
            info->bounds.add(lo);
            info->bounds.add(hi);
        }
    }
    return info;
}

materialColoursS coloursOf(const u3d::sceneS& scene, const std::string& shaderName) {
    const u3d::shaderS* shader = scene.findShader(shaderName);
    const u3d::materialS* material = shader ? scene.findMaterial(shader->material) : nullptr;
    if (!material)
        return defaultMaterial();
    materialColoursS m;
    m.surface.diffuse = toRgbF(material->diffuse);
    m.surface.ambient = toRgbF(material->ambient);
    m.surface.emissive = toRgbF(material->emissive);
    m.opacity = std::isfinite(material->opacity) ? std::clamp(material->opacity, 0.0f, 1.0f) : 1.0f;
    return m;
}

}  // namespace

drawItemsS prepareItems(const u3d::sceneS& scene, const viewS& view) {
    drawItemsS out;
    std::unordered_map<const u3d::geometryS*, const geometryInfoS*> infoOf;

    for (const u3d::modelInstanceS& instance : u3d::modelInstances(scene)) {
        const u3d::nodeS& node = scene.nodes[instance.node];
        const u3d::geometryS* geometry = scene.findGeometry(node.resource);
        if (!geometry || geometry->primitiveCount() == 0)
            continue;
        auto [found, fresh] = infoOf.try_emplace(geometry, nullptr);
        if (fresh) {
            out.geometries.push_back(describe(*geometry));
            found->second = out.geometries.back().get();
        }
        if (found->second->bounds.empty)
            continue;

        auto [materials, newNode] = out.materialsByNode.try_emplace(instance.node);
        if (newNode) {
            for (const std::string& shader : node.shaders)
                materials->second.push_back(coloursOf(scene, shader));
            materials->second.push_back(defaultMaterial());
        }

        drawItemS item;
        item.info = found->second;
        item.toCamera = affine3f::from(view.worldToCamera * instance.toWorld);
        item.normalToCamera = item.toCamera.normalTransform();
        item.mirror = item.toCamera.determinant() < 0 ? -1.0f : 1.0f;
        item.materials = &materials->second;

        const boxF& b = item.info->bounds;
        for (int corner = 0; corner < 8; ++corner) {
            float p[3];
            item.toCamera.apply(corner & 1 ? b.max[0] : b.min[0], corner & 2 ? b.max[1] : b.min[1],
                                corner & 4 ? b.max[2] : b.min[2], p);
            if (std::isfinite(p[2]))
                out.farthest = std::max(out.farthest, p[2]);
        }
        out.items.push_back(std::move(item));
    }
    return out;
}

}  // namespace render
