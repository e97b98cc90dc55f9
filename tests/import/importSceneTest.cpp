// What the scene holds after an import: the node tree with its names and
// transforms, geometry joined and indexed per corner, normals, colours and
// materials.
#include "import/meshImport.h"
#include "meshFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <stdexcept>

namespace {

using namespace meshfiles;
using u3d::geometryKindE;
using u3d::nodeKindE;

const u3d::nodeS& node(const u3d::sceneS& scene, const std::string& name) {
    const u3d::nodeS* found = scene.findNode(name);
    if (!found)
        throw std::runtime_error("no node " + name);
    return *found;
}

const u3d::geometryS& shownBy(const u3d::sceneS& scene, const std::string& nodeName) {
    const u3d::geometryS* found = scene.findGeometry(node(scene, nodeName).resource);
    if (!found)
        throw std::runtime_error("node " + nodeName + " shows no geometry");
    return *found;
}

std::array<float, 3> at(const std::vector<u3d::vec3f>& values, uint32_t index) {
    return {values.at(index).x, values.at(index).y, values.at(index).z};
}

// Every index list as long as the corners, every index in range, no value
// twice in a joined list.
void expectWellIndexed(const u3d::geometryS& g) {
    SCOPED_TRACE(g.name);
    EXPECT_EQ(g.positionIndices.size(), g.primitiveCount() * u3d::cornersPerPrimitive(g.kind));
    for (uint32_t i : g.positionIndices)
        EXPECT_LT(i, g.positions.size());
    std::set<std::array<float, 3>> distinct;
    for (std::size_t i = 0; i < g.positions.size(); ++i)
        EXPECT_TRUE(distinct.insert(at(g.positions, uint32_t(i))).second) << "position " << i << " twice";
    if (!g.normals.empty()) {
        EXPECT_EQ(g.normalIndices.size(), g.positionIndices.size());
        for (uint32_t i : g.normalIndices) {
            const auto n = at(g.normals, i);
            EXPECT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1, 1e-5);
        }
    }
    if (!g.diffuseColors.empty()) {
        EXPECT_EQ(g.diffuseIndices.size(), g.positionIndices.size());
    }
}

u3d::matrix4d transformOf(const u3d::nodeS& n) { return n.parents.at(0).transform; }

TEST(ImportSceneTest, GltfAssemblyKeepsItsTreeNamesTransformsAndSharedGeometry) {
    const scratchFolderC folder("import_gltf");
    const gltfFilesS gltf = gltfAssembly();
    folder.write("assembly.bin", gltf.bin);
    const u3d::sceneS scene = meshimport::importFile(folder.write("assembly.gltf", gltf.json));

    // The file's tree; "arm" twice in the file, once renamed.
    std::vector<std::string> names;
    for (const u3d::nodeS& n : scene.nodes)
        names.push_back(n.name);
    EXPECT_EQ(names, (std::vector<std::string>{"assembly", "base", "cube-0", "cube-1", "arm", "arm_2", "nodes[4]",
                                               "empty"}));
    EXPECT_EQ(node(scene, "assembly").parents.at(0).name, "");
    EXPECT_EQ(transformOf(node(scene, "assembly")).m[12], 10);
    for (const char* child : {"base", "arm", "arm_2", "nodes[4]", "empty"})
        EXPECT_EQ(node(scene, child).parents.at(0).name, "assembly") << child;

    // Two primitives of two materials: a group with a model node for each.
    EXPECT_EQ(node(scene, "base").kind, nodeKindE::group);
    EXPECT_EQ(node(scene, "empty").kind, nodeKindE::group);
    for (const char* part : {"cube-0", "cube-1"}) {
        EXPECT_EQ(node(scene, part).kind, nodeKindE::model);
        EXPECT_EQ(node(scene, part).parents.at(0).name, "base");
        EXPECT_EQ(transformOf(node(scene, part)).m, u3d::matrix4d::identity().m);
    }
    EXPECT_EQ(node(scene, "cube-0").shaders, std::vector<std::string>{"red"});
    EXPECT_EQ(node(scene, "cube-1").shaders, std::vector<std::string>{"blue"});

    // Rotated 90 degrees about z, scaled by 2, moved to (0, 2, 0), in
    // column-major order; the unnamed node's matrix moves by 5 along z.
    const double arm[16] = {0, 2, 0, 0, -2, 0, 0, 0, 0, 0, 2, 0, 0, 2, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(transformOf(node(scene, "arm")).m[i], arm[i], 1e-6) << i;
    EXPECT_EQ(transformOf(node(scene, "arm_2")).m[13], -3);
    EXPECT_EQ(transformOf(node(scene, "nodes[4]")).m[14], 5);

    // One triangle, shown three times.
    for (const char* arm : {"arm", "arm_2", "nodes[4]"})
        EXPECT_EQ(node(scene, arm).resource, "tri") << arm;
    EXPECT_EQ(scene.geometries.size(), 3u);

    // The cube's colour is its position: each corner must find its own.
    for (const char* part : {"cube-0", "cube-1"}) {
        const u3d::geometryS& cube = shownBy(scene, part);
        expectWellIndexed(cube);
        EXPECT_EQ(cube.primitiveCount(), 6u);
        ASSERT_EQ(cube.diffuseIndices.size(), cube.positionIndices.size());
        for (std::size_t c = 0; c < cube.positionIndices.size(); ++c) {
            const u3d::vec3f& p = cube.positions[cube.positionIndices[c]];
            const u3d::color4f& color = cube.diffuseColors.at(cube.diffuseIndices[c]);
            EXPECT_EQ((std::array<float, 4>{color.r, color.g, color.b, color.a}),
                      (std::array<float, 4>{p.x, p.y, p.z, 1}));
        }
    }

    ASSERT_EQ(scene.materials.size(), 2u);
    const u3d::materialS& red = *scene.findMaterial("red");
    const u3d::materialS& blue = *scene.findMaterial("blue");
    EXPECT_EQ((std::array<float, 3>{red.diffuse.r, red.diffuse.g, red.diffuse.b}), (std::array<float, 3>{1, 0, 0}));
    EXPECT_EQ((std::array<float, 3>{blue.diffuse.r, blue.diffuse.g, blue.diffuse.b}), (std::array<float, 3>{0, 0, 1}));
    EXPECT_EQ(red.opacity, 1);
    EXPECT_EQ(blue.opacity, 0.5);
    for (const u3d::shaderS& shader : scene.shaders)
        EXPECT_EQ(shader.material, shader.name);

    // The same assembly from one GLB file.
    const u3d::sceneS glb = meshimport::importFile(folder.write("assembly.glb", glbAssembly()));
    ASSERT_EQ(glb.nodes.size(), scene.nodes.size());
    for (std::size_t i = 0; i < glb.nodes.size(); ++i) {
        EXPECT_EQ(glb.nodes[i].name, scene.nodes[i].name);
        EXPECT_EQ(glb.nodes[i].resource, scene.nodes[i].resource);
        EXPECT_EQ(transformOf(glb.nodes[i]).m, transformOf(scene.nodes[i]).m);
    }
    ASSERT_EQ(glb.geometries.size(), scene.geometries.size());
    for (std::size_t i = 0; i < glb.geometries.size(); ++i)
        EXPECT_EQ(glb.geometries[i].positionIndices, scene.geometries[i].positionIndices);
}

TEST(ImportSceneTest, StlSoupsBecomeIndexedMeshesWithTheirFacetNormals) {
    const scratchFolderC folder("import_stl");
    const std::vector<triangleS> soup = torus(12, 6, 4, 1);
    for (const bool binary : {true, false}) {
        SCOPED_TRACE(binary ? "binary" : "ascii");
        const u3d::sceneS scene = meshimport::importFile(
            folder.write("ring.stl", binary ? binaryStl(soup) : asciiStl(soup, "torus")));
        // The root is named after the file; the solid's name names the mesh.
        ASSERT_EQ(scene.nodes.size(), 2u);
        EXPECT_EQ(scene.nodes[0].name, "ring");
        EXPECT_EQ(scene.nodes[0].kind, nodeKindE::group);
        EXPECT_EQ(scene.nodes[1].name, binary ? "Node" : "torus");
        EXPECT_EQ(scene.nodes[1].parents.at(0).name, "ring");

        ASSERT_EQ(scene.geometries.size(), 1u);
        const u3d::geometryS& g = scene.geometries[0];
        expectWellIndexed(g);
        EXPECT_EQ(g.kind, geometryKindE::mesh);
        EXPECT_EQ(g.positions.size(), 12u * 6u);  // each grid point once
        ASSERT_EQ(g.primitiveCount(), soup.size());
        // assimp's reader of decimal text may miss a number's last bit.
        for (std::size_t t = 0; t < soup.size(); ++t)
            for (int k = 0; k < 3; ++k) {
                const auto p = at(g.positions, g.positionIndices[3 * t + k]);
                const auto n = at(g.normals, g.normalIndices.at(3 * t + k));
                for (int i = 0; i < 3; ++i) {
                    EXPECT_NEAR(p[i], soup[t].corners[k][i], 1e-6) << t;
                    EXPECT_NEAR(n[i], soup[t].normal[i], 1e-6) << t;
                }
            }
    }
}

// Each corner's normal must be its face's: a unit vector square to both of
// the face's edges, on the side its winding says.
void expectFlatNormals(const u3d::geometryS& g) {
    for (std::size_t t = 0; t < g.primitiveCount(); ++t) {
        const auto a = at(g.positions, g.positionIndices[3 * t]);
        const auto b = at(g.positions, g.positionIndices[3 * t + 1]);
        const auto c = at(g.positions, g.positionIndices[3 * t + 2]);
        const std::array<float, 3> e1{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const std::array<float, 3> e2{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const std::array<float, 3> face{e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                                        e1[0] * e2[1] - e1[1] * e2[0]};
        for (int k = 0; k < 3; ++k) {
            const auto n = at(g.normals, g.normalIndices.at(3 * t + k));
            EXPECT_NEAR(n[0] * e1[0] + n[1] * e1[1] + n[2] * e1[2], 0, 1e-6) << t;
            EXPECT_NEAR(n[0] * e2[0] + n[1] * e2[1] + n[2] * e2[2], 0, 1e-6) << t;
            EXPECT_GT(n[0] * face[0] + n[1] * face[1] + n[2] * face[2], 0) << t;
        }
    }
}

TEST(ImportSceneTest, PolygonsAreTriangulatedAndLinesMaterialsAndNormalsFollow) {
    const scratchFolderC folder("import_obj");
    const objFilesS obj = objWithMaterials();
    folder.write("parts.mtl", obj.mtl);
    const u3d::sceneS scene = meshimport::importFile(folder.write("parts.obj", obj.obj));

    EXPECT_EQ(shownBy(scene, "left").primitiveCount(), 2u);  // the quad
    EXPECT_EQ(shownBy(scene, "right").primitiveCount(), 1u);
    const u3d::geometryS& edges = shownBy(scene, "edges");
    expectWellIndexed(edges);
    EXPECT_EQ(edges.kind, geometryKindE::lineSet);
    ASSERT_EQ(edges.positionIndices.size(), 4u);
    EXPECT_EQ(at(edges.positions, edges.positionIndices[0]), (std::array<float, 3>{0, 0, 1}));
    EXPECT_EQ(at(edges.positions, edges.positionIndices[1]), (std::array<float, 3>{1, 0, 1}));
    EXPECT_EQ(at(edges.positions, edges.positionIndices[2]), (std::array<float, 3>{1, 0, 1}));
    EXPECT_EQ(at(edges.positions, edges.positionIndices[3]), (std::array<float, 3>{1, 1, 1}));
    for (const char* part : {"left", "right"}) {
        expectWellIndexed(shownBy(scene, part));
        expectFlatNormals(shownBy(scene, part));
    }

    EXPECT_EQ(node(scene, "left").shaders, std::vector<std::string>{"red"});
    EXPECT_EQ(node(scene, "right").shaders, std::vector<std::string>{"blue"});
    const u3d::materialS& red = *scene.findMaterial("red");
    EXPECT_EQ((std::array<float, 3>{red.ambient.r, red.ambient.g, red.ambient.b}), (std::array<float, 3>{0.1f, 0, 0}));
    EXPECT_EQ((std::array<float, 3>{red.diffuse.r, red.diffuse.g, red.diffuse.b}), (std::array<float, 3>{1, 0, 0}));
    EXPECT_EQ(red.specular.g, 0.5f);
    EXPECT_EQ(scene.findMaterial("blue")->opacity, 0.5f);

    // Quads sharing their corners, and a soup whose normals are all zero:
    // both get flat faces back, each normal its face's.
    const u3d::sceneS off = meshimport::importFile(folder.write("cube.off", offCube()));
    const u3d::sceneS stl = meshimport::importFile(folder.write("cube.stl", binaryStl(cubeWithoutNormals())));
    for (const u3d::sceneS* cube : {&off, &stl}) {
        ASSERT_EQ(cube->geometries.size(), 1u);
        const u3d::geometryS& g = cube->geometries[0];
        expectWellIndexed(g);
        EXPECT_EQ(g.primitiveCount(), 12u);
        EXPECT_EQ(g.positions.size(), 8u);
        EXPECT_EQ(g.normals.size(), 6u);
        expectFlatNormals(g);
    }
}

TEST(ImportSceneTest, VertexColoursReachTheirCornersAndVerticesWithoutFacesArePoints) {
    const scratchFolderC folder("import_ply");
    // Vertex 0 red, 1 green, 2 blue, 3 white, 4 black (meshFiles.h).
    const std::map<std::array<float, 3>, std::array<float, 3>> colorAt = {
        {{0, 0, 0}, {1, 0, 0}}, {{1, 0, 0}, {0, 1, 0}}, {{1, 1, 0}, {0, 0, 1}},
        {{0, 1, 0}, {1, 1, 1}}, {{0.5f, -1, 0.5f}, {0, 0, 0}},
    };
    const auto expectColours = [&](const u3d::geometryS& g) {
        ASSERT_EQ(g.diffuseIndices.size(), g.positionIndices.size());
        for (std::size_t c = 0; c < g.positionIndices.size(); ++c) {
            const u3d::color4f& color = g.diffuseColors.at(g.diffuseIndices[c]);
            EXPECT_EQ((std::array<float, 3>{color.r, color.g, color.b}),
                      colorAt.at(at(g.positions, g.positionIndices[c])));
        }
    };
    for (const bool binary : {false, true}) {
        const u3d::sceneS scene = meshimport::importFile(folder.write("colored.ply", coloredPly(binary)));
        ASSERT_EQ(scene.geometries.size(), 1u);
        expectWellIndexed(scene.geometries[0]);
        EXPECT_EQ(scene.geometries[0].primitiveCount(), 3u);
        expectColours(scene.geometries[0]);
    }

    const u3d::sceneS cloud = meshimport::importFile(folder.write("cloud.ply", plyPoints()));
    ASSERT_EQ(cloud.geometries.size(), 1u);
    EXPECT_EQ(cloud.geometries[0].kind, geometryKindE::pointSet);
    EXPECT_EQ(cloud.geometries[0].primitiveCount(), 5u);
    expectWellIndexed(cloud.geometries[0]);
    expectColours(cloud.geometries[0]);

    const u3d::sceneS points = meshimport::importFile(folder.write("points.obj", objPoints()));
    ASSERT_EQ(points.geometries.size(), 1u);
    EXPECT_EQ(points.geometries[0].kind, geometryKindE::pointSet);
    EXPECT_EQ(points.geometries[0].primitiveCount(), 3u);
    EXPECT_EQ(node(points, points.nodes.back().name).kind, nodeKindE::model);
}

}  // namespace
