#include "import/loaderOutput.h"

#include "import/aiText.h"
#include "import/importError.h"

#include <cmath>
#include <string>
#include <unordered_set>
#include <vector>

namespace meshimport {

namespace {

bool finite(const aiVector3D& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

std::string meshLabel(const aiMesh& mesh, unsigned index) {
    return mesh.mName.length ? "mesh \"" + textOf(mesh.mName) + "\"" : "mesh " + std::to_string(index);
}

void checkMesh(aiMesh& mesh, unsigned index, unsigned materialCount) {
    if ((mesh.mNumVertices && !mesh.mVertices) || (mesh.mNumFaces && !mesh.mFaces))
        throw importError(meshLabel(mesh, index) + " lacks the vertices or faces it counts");
    for (unsigned v = 0; v < mesh.mNumVertices; ++v)
        if (!finite(mesh.mVertices[v]))
            throw importError(meshLabel(mesh, index) + " has NaN or infinite coordinates (vertex " +
                              std::to_string(v) + ")");
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices == 0 || !face.mIndices)
            throw importError(meshLabel(mesh, index) + " has a face without corners (face " + std::to_string(f) +
                              "): the file is cut short or broken");
        for (unsigned k = 0; k < face.mNumIndices; ++k)
            if (face.mIndices[k] >= mesh.mNumVertices)
                throw importError(meshLabel(mesh, index) + ": face " + std::to_string(f) + " uses vertex " +
                                  std::to_string(face.mIndices[k]) + " of " + std::to_string(mesh.mNumVertices));
    }
    if (materialCount && mesh.mMaterialIndex >= materialCount)
        throw importError(meshLabel(mesh, index) + " uses material " + std::to_string(mesh.mMaterialIndex) + " of " +
                          std::to_string(materialCount));
    if (mesh.mNormals)
        for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
            const aiVector3D& n = mesh.mNormals[v];
            if (!finite(n) || (n.x == 0 && n.y == 0 && n.z == 0)) {
                // Many STL writers leave every facet normal at zero.
                delete[] mesh.mNormals;
                mesh.mNormals = nullptr;
                break;
            }
        }
}

bool finiteTransform(const aiMatrix4x4& t) {
    const float* m = &t.a1;
    for (int i = 0; i < 16; ++i)
        if (!std::isfinite(m[i]))
            return false;
    return true;
}

// The node tree must be a tree whose meshes exist: the steps walk it
// recursively and index their mesh tables with its numbers.
void checkNodes(const aiScene& scene) {
    struct pendingS {
        const aiNode* node;
        unsigned depth;
    };
    std::vector<pendingS> pending{{scene.mRootNode, 0}};
    std::unordered_set<const aiNode*> seen;
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        if (!node || !seen.insert(node).second)
            throw importError("the node tree is broken (a missing node, or a node under two parents)");
        const std::string label = "node \"" + textOf(node->mName) + "\"";
        if (depth > kMaxNodeDepth)
            throw importError("the node tree is more than " + std::to_string(kMaxNodeDepth) + " levels deep");
        if (!finiteTransform(node->mTransformation))
            throw importError(label + " has a NaN or infinite transform");
        if ((node->mNumMeshes && !node->mMeshes) || (node->mNumChildren && !node->mChildren))
            throw importError(label + " lacks the meshes or children it counts");
        for (unsigned i = 0; i < node->mNumMeshes; ++i)
            if (node->mMeshes[i] >= scene.mNumMeshes)
                throw importError(label + " shows mesh " + std::to_string(node->mMeshes[i]) + " of " +
                                  std::to_string(scene.mNumMeshes));
        for (unsigned i = 0; i < node->mNumChildren; ++i)
            pending.push_back({node->mChildren[i], depth + 1});
    }
}

}  // namespace

void checkLoaderOutput(aiScene& scene) {
    if (!scene.mRootNode)
        throw importError("the file holds no scene");
    if ((scene.mNumMeshes && !scene.mMeshes) || (scene.mNumMaterials && !scene.mMaterials))
        throw importError("the scene lacks the meshes or materials it counts");
    for (unsigned i = 0; i < scene.mNumMeshes; ++i) {
        if (!scene.mMeshes[i])
            throw importError("mesh " + std::to_string(i) + " is missing");
        checkMesh(*scene.mMeshes[i], i, scene.mNumMaterials);
    }
    for (unsigned i = 0; i < scene.mNumMaterials; ++i)
        if (!scene.mMaterials[i])
            throw importError("material " + std::to_string(i) + " is missing");
    checkNodes(scene);
}

}  // namespace meshimport
