#include "assimpReference.h"

#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

struct walkS {
    assimpReferenceS out;
    bool empty = true;
    std::set<unsigned> counted;

    void add(const aiVector3D& p) {
        const double v[3] = {p.x, p.y, p.z};
        for (int i = 0; i < 3; ++i) {
            out.min[i] = empty ? v[i] : std::min(out.min[i], v[i]);
            out.max[i] = empty ? v[i] : std::max(out.max[i], v[i]);
        }
        empty = false;
    }

    void mesh(const aiMesh& mesh, unsigned index, const aiMatrix4x4& toWorld) {
        if (mesh.mNumFaces == 0)
            for (unsigned v = 0; v < mesh.mNumVertices; ++v)
                add(toWorld * mesh.mVertices[v]);
        for (unsigned f = 0; f < mesh.mNumFaces; ++f)
            for (unsigned k = 0; k < mesh.mFaces[f].mNumIndices; ++k)
                add(toWorld * mesh.mVertices[mesh.mFaces[f].mIndices[k]]);
        if (!counted.insert(index).second)
            return;
        const std::size_t faces = mesh.mNumFaces;
        const unsigned type = mesh.mPrimitiveTypes & ~unsigned(aiPrimitiveType_NGONEncodingFlag);
        if (faces == 0)
            out.points += mesh.mNumVertices;
        else if (type == aiPrimitiveType_TRIANGLE)
            out.triangles += faces;
        else if (type == aiPrimitiveType_LINE)
            out.lines += faces;
        else if (type == aiPrimitiveType_POINT)
            out.points += faces;
        else
            ADD_FAILURE() << "mesh " << index << " mixes primitive types " << mesh.mPrimitiveTypes;
    }

    void node(const aiScene& scene, const aiNode& node, const aiMatrix4x4& parent) {
        const aiMatrix4x4 toWorld = parent * node.mTransformation;
        for (unsigned i = 0; i < node.mNumMeshes; ++i)
            mesh(*scene.mMeshes[node.mMeshes[i]], node.mMeshes[i], toWorld);
        for (unsigned i = 0; i < node.mNumChildren; ++i)
            this->node(scene, *node.mChildren[i], toWorld);
    }
};

}  // namespace

assimpReferenceS assimpReference(const std::string& path) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate | aiProcess_SortByPType);
    walkS walk;
    if (!scene || !scene->mRootNode) {
        ADD_FAILURE() << "assimp cannot read " << path << ": " << importer.GetErrorString();
        return walk.out;
    }
    walk.node(*scene, *scene->mRootNode, aiMatrix4x4());
    return walk.out;
}

std::string exportedByAssimp(const std::string& from, const char* format, const std::string& to) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(from, aiProcess_Triangulate);
    EXPECT_NE(scene, nullptr) << importer.GetErrorString();
    Assimp::Exporter exporter;
    EXPECT_EQ(exporter.Export(scene, format, to), aiReturn_SUCCESS) << exporter.GetErrorString();
    return to;
}
