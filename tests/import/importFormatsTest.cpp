// Every format people bring imports, and the scene holds what assimp itself
// reads from the same file: the same world box, the same primitives.
#include "assimpReference.h"
#include "import/importFormats.h"
#include "import/meshImport.h"
#include "meshFiles.h"
#include "u3d/sceneInstances.h"

#include <assimp/Importer.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

using namespace meshfiles;

void expectSameAsAssimp(const std::string& path) {
    SCOPED_TRACE(path);
    const u3d::sceneS scene = meshimport::importFile(path);
    const assimpReferenceS reference = assimpReference(path);

    const u3d::boxS box = u3d::worldBox(scene, u3d::modelInstances(scene));
    ASSERT_FALSE(box.empty);
    // assimp places vertices in float, the scene in double.
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(box.min[i], reference.min[i], 1e-5 * (1 + std::fabs(reference.min[i]))) << "axis " << i;
        EXPECT_NEAR(box.max[i], reference.max[i], 1e-5 * (1 + std::fabs(reference.max[i]))) << "axis " << i;
    }

    std::size_t counts[3] = {0, 0, 0};
    for (const u3d::geometryS& geometry : scene.geometries)
        counts[int(geometry.kind)] += geometry.primitiveCount();
    EXPECT_EQ(counts[int(u3d::geometryKindE::mesh)], reference.triangles);
    EXPECT_EQ(counts[int(u3d::geometryKindE::lineSet)], reference.lines);
    EXPECT_EQ(counts[int(u3d::geometryKindE::pointSet)], reference.points);
}

TEST(ImportFormatsTest, EveryFormatImportsWithAssimpsBoxAndPrimitives) {
    const scratchFolderC folder("import_formats");
    const std::vector<triangleS> torusSoup = torus(12, 6, 4, 1);
    const objFilesS obj = objWithMaterials();
    const gltfFilesS gltf = gltfAssembly();
    folder.write("parts.mtl", obj.mtl);
    folder.write("assembly.bin", gltf.bin);
    const std::string gltfPath = folder.write("assembly.gltf", gltf.json);

    const std::vector<std::string> files = {
        folder.write("binary.stl", binaryStl(torusSoup)),
        folder.write("ascii.stl", asciiStl(torusSoup, "torus")),
        folder.write("parts.obj", obj.obj),
        folder.write("points.obj", objPoints()),
        folder.write("ascii.ply", coloredPly(false)),
        folder.write("binary.ply", coloredPly(true)),
        folder.write("points.ply", plyPoints()),
        folder.write("cube.off", offCube()),
        gltfPath,
        folder.write("assembly.glb", glbAssembly()),
        exportedByAssimp(gltfPath, "3mf", (folder.path() / "assembly.3mf").string()),
        exportedByAssimp(gltfPath, "collada", (folder.path() / "assembly.dae").string()),
    };
    for (const std::string& file : files)
        expectSameAsAssimp(file);
}

TEST(ImportFormatsTest, TheListHoldsEveryExtensionAssimpReadsOnce) {
    const std::vector<meshimport::formatS> formats = meshimport::readableFormats();
    std::set<std::string> listed;
    for (const meshimport::formatS& format : formats) {
        EXPECT_TRUE(listed.insert(format.extension).second) << format.extension << " twice";
        EXPECT_FALSE(format.name.empty()) << format.extension;
        EXPECT_EQ(format.name.find("Importer"), std::string::npos) << format.name;
    }
    EXPECT_TRUE(std::is_sorted(formats.begin(), formats.end(),
                               [](const auto& a, const auto& b) { return a.extension < b.extension; }));
    for (const char* wanted : {"stl", "obj", "ply", "off", "gltf", "glb", "3mf", "dae"})
        EXPECT_TRUE(listed.count(wanted)) << wanted;

    // assimp's own list: "*.3d;*.3ds;..."
    aiString list;
    Assimp::Importer().GetExtensionList(list);
    std::set<std::string> fromAssimp;
    for (std::string rest = list.C_Str(); !rest.empty();) {
        const std::size_t end = rest.find(';');
        fromAssimp.insert(rest.substr(2, end == std::string::npos ? std::string::npos : end - 2));
        rest = end == std::string::npos ? "" : rest.substr(end + 1);
    }
    EXPECT_EQ(listed, fromAssimp);
}

}  // namespace
