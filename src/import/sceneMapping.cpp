#include "import/sceneMapping.h"

#include "import/aiText.h"
#include "import/importError.h"
#include "import/meshMapping.h"
#include "import/uniqueNames.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace meshimport {

namespace {

// aiMatrix4x4 is row-major with the translation in its fourth column;
// matrix4d keeps row r, column c at r + 4c.
u3d::matrix4d transformOf(const aiMatrix4x4& in) {
    u3d::matrix4d out;
    for (unsigned r = 0; r < 4; ++r)
        for (unsigned c = 0; c < 4; ++c)
            out.m[r + 4 * c] = in[r][c];
    return out;
}

class sceneMapperC {
public:
    sceneMapperC(const aiScene& in, const std::string& rootName)
        : in_(in), rootName_(rootName), geometryOf_(in.mNumMeshes, kNotMapped), shaderOf_(in.mNumMaterials) {}

    u3d::sceneS run() {
        struct pendingS {
            const aiNode* node;
            std::string parent;
        };
        std::vector<pendingS> pending{{in_.mRootNode, ""}};
        while (!pending.empty()) {
            const pendingS next = std::move(pending.back());
            pending.pop_back();
            const std::string name = addNode(*next.node, next.parent);
            // Reversed onto the stack, so that siblings keep the file's order.
            for (unsigned i = next.node->mNumChildren; i-- > 0;)
                pending.push_back({next.node->mChildren[i], name});
        }
        return std::move(out_);
    }

private:
    // Adds the node (and the model nodes of its meshes); returns its name.
    std::string addNode(const aiNode& node, const std::string& parent) {
        std::vector<unsigned> meshes;
        for (unsigned i = 0; i < node.mNumMeshes; ++i)
            if (geometry(node.mMeshes[i]))
                meshes.push_back(node.mMeshes[i]);

        std::string wanted = textOf(node.mName);
        std::string fallback = "Node";
        if (&node == in_.mRootNode) {
            if (wanted.size() > 1 && wanted.front() == '<' && wanted.back() == '>')
                wanted.clear();
            fallback = rootName_;
        } else if (meshes.size() == 1 && in_.mMeshes[meshes[0]]->mName.length) {
            fallback = textOf(in_.mMeshes[meshes[0]]->mName);
        }
        const std::string name = nodeNames_.take(wanted, fallback);

        u3d::nodeS& added = out_.nodes.emplace_back();
        added.name = name;
        added.parents.push_back({parent, transformOf(node.mTransformation)});
        if (meshes.size() == 1) {
            showMesh(added, meshes[0]);
            return name;
        }
        for (unsigned mesh : meshes) {
            u3d::nodeS model;
            model.name = nodeNames_.take(textOf(in_.mMeshes[mesh]->mName), name);
            model.parents.push_back({name, u3d::matrix4d::identity()});
            showMesh(model, mesh);
            out_.nodes.push_back(std::move(model));
        }
        return name;
    }

    void showMesh(u3d::nodeS& node, unsigned mesh) {
        node.kind = u3d::nodeKindE::model;
        node.resource = out_.geometries[*geometry(mesh)].name;
        node.shaders = {shader(in_.mMeshes[mesh]->mMaterialIndex)};
    }

    // The geometry of a mesh, mapped when a node first shows it; none for a
    // mesh without vertices.
    std::optional<std::size_t> geometry(unsigned mesh) {
        std::size_t& slot = geometryOf_[mesh];
        if (slot == kNotMapped) {
            const aiMesh& source = *in_.mMeshes[mesh];
            slot = kNoGeometry;
            if (source.mNumVertices) {
                slot = out_.geometries.size();
                out_.geometries.push_back(mapMesh(source, geometryNames_.take(textOf(source.mName), "Mesh")));
            }
        }
        return slot == kNoGeometry ? std::nullopt : std::optional(slot);
    }

    std::string shader(unsigned material) {
        if (material >= in_.mNumMaterials)
            return defaultShader();
        std::optional<std::size_t>& slot = shaderOf_[material];
        if (!slot) {
            slot = out_.shaders.size();
            addMaterial(in_.mMaterials[material]);
        }
        return out_.shaders[*slot].name;
    }

    // Meshes of a scene without materials.
    std::string defaultShader() {
        if (!defaultShader_) {
            defaultShader_ = out_.shaders.size();
            addMaterial(nullptr);
        }
        return out_.shaders[*defaultShader_].name;
    }

    void addMaterial(const aiMaterial* source) {
        aiString sourceName;
        if (source)
            source->Get(AI_MATKEY_NAME, sourceName);
        u3d::materialS material;
        material.name = materialNames_.take(textOf(sourceName), "Material");
        if (source) {
            color(*source, AI_MATKEY_COLOR_AMBIENT, material.ambient, material.name);
            if (!color(*source, AI_MATKEY_COLOR_DIFFUSE, material.diffuse, material.name))
                color(*source, AI_MATKEY_BASE_COLOR, material.diffuse, material.name);
            color(*source, AI_MATKEY_COLOR_SPECULAR, material.specular, material.name);
            color(*source, AI_MATKEY_COLOR_EMISSIVE, material.emissive, material.name);
            float opacity = 1;
            if (source->Get(AI_MATKEY_OPACITY, opacity) == aiReturn_SUCCESS) {
                if (!std::isfinite(opacity))
                    throw importError("material \"" + material.name + "\" has a NaN or infinite opacity");
                material.opacity = opacity;
            }
        }
        out_.shaders.push_back({material.name, material.name});
        out_.materials.push_back(std::move(material));
    }

    // Reads one colour when the material has it; false when it has not.
    static bool color(const aiMaterial& source, const char* key, unsigned type, unsigned index, u3d::color4f& out,
                      const std::string& name) {
        aiColor4D c;
        if (source.Get(key, type, index, c) != aiReturn_SUCCESS)
            return false;
        if (!std::isfinite(c.r) || !std::isfinite(c.g) || !std::isfinite(c.b) || !std::isfinite(c.a))
            throw importError("material \"" + name + "\" has NaN or infinite colours");
        out = {c.r, c.g, c.b, c.a};
        return true;
    }

    const aiScene& in_;
    const std::string rootName_;
    u3d::sceneS out_;
    uniqueNamesC nodeNames_;
    uniqueNamesC geometryNames_;
    // Materials and their shaders share names: one shader per material.
    uniqueNamesC materialNames_;
    // Per mesh: its geometry's index, or one of these two.
    static constexpr std::size_t kNotMapped = SIZE_MAX;
    static constexpr std::size_t kNoGeometry = SIZE_MAX - 1;
    std::vector<std::size_t> geometryOf_;
    std::vector<std::optional<std::size_t>> shaderOf_;
    std::optional<std::size_t> defaultShader_;
};

}  // namespace

u3d::sceneS mapScene(const aiScene& scene, const std::string& rootName) {
    return sceneMapperC(scene, rootName).run();
}

}  // namespace meshimport
