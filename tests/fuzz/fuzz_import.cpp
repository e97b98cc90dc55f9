// Mesh import of fuzzed bytes. The first byte picks the extension the rest
// is read as (stl, obj, ply, off, gltf, glb, 3mf, dae): assimp tries that
// format's reader first and the others after it, as for a file of that
// name. The import runs from memory (it opens no file) through the header
// count checks, assimp's loader, the check of its output, assimp's
// processing steps and the mapping into the scene model.
//
// An import either throws importError or returns a scene whose every index
// is in range and whose every node's parent exists; anything else (another
// exception, a crash, a sanitizer report) is a finding. A crash inside
// libassimp is a finding in assimp: the stack shows where.
#include "import/meshImport.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <unordered_set>

namespace {

[[noreturn]] void fault(const std::string& what) {
    std::fprintf(stderr, "import: %s\n", what.c_str());
    std::abort();
}

void checkIndices(const std::vector<uint32_t>& indices, std::size_t count, std::size_t corners,
                  const std::string& what) {
    if (indices.size() != corners)
        fault(what + ": index list of the wrong length");
    for (uint32_t i : indices)
        if (i >= count)
            fault(what + ": index out of range");
}

template <typename T>
void checkUniqueNames(const std::vector<T>& items, const char* what) {
    std::unordered_set<std::string> names;
    for (const T& item : items)
        if (item.name.empty() || !names.insert(item.name).second)
            fault(std::string(what) + " \"" + item.name + "\": empty or twice");
}

void checkScene(const u3d::sceneS& scene) {
    checkUniqueNames(scene.geometries, "geometry");
    checkUniqueNames(scene.materials, "material");
    checkUniqueNames(scene.shaders, "shader");
    for (const u3d::geometryS& g : scene.geometries) {
        const std::size_t corners = g.positionIndices.size();
        if (corners % u3d::cornersPerPrimitive(g.kind) != 0)
            fault(g.name + ": corners do not make whole primitives");
        checkIndices(g.positionIndices, g.positions.size(), corners, g.name + " positions");
        if (!g.normals.empty())
            checkIndices(g.normalIndices, g.normals.size(), corners, g.name + " normals");
        if (!g.diffuseColors.empty())
            checkIndices(g.diffuseIndices, g.diffuseColors.size(), corners, g.name + " colours");
    }
    std::unordered_set<std::string> names{""};
    for (const u3d::nodeS& node : scene.nodes) {
        for (const u3d::parentS& parent : node.parents)
            if (!names.count(parent.name))
                fault(node.name + ": parent " + parent.name + " comes later or not at all");
        if (node.name.empty() || !names.insert(node.name).second)
            fault(node.name + ": empty, or two nodes of one name");
        if (node.kind == u3d::nodeKindE::model &&
            (!scene.findGeometry(node.resource) || node.shaders.size() != 1 || !scene.findShader(node.shaders[0])))
            fault(node.name + ": a model node without its geometry or shader");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const kExtensions[] = {"stl", "obj", "ply", "off", "gltf", "glb", "3mf", "dae"};
    if (size < 1)
        return 0;
    const std::string extension = kExtensions[data[0] % std::size(kExtensions)];
    try {
        checkScene(meshimport::importBytes({data + 1, size - 1}, extension));
    } catch (const meshimport::importError&) {
    }
    return 0;
}
