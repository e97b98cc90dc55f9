// Files an import must refuse, each with one line that says why, through
// both entry points; and the files a model may make the loaders open.
#include "import/meshImport.h"
#include "meshFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>

namespace {

using namespace meshfiles;

// The message of the importError that `run` throws; fails the test when it
// throws nothing or something else.
template <typename Error = meshimport::importError>
std::string refusal(const std::function<void()>& run) {
    try {
        run();
        ADD_FAILURE() << "imported";
    } catch (const Error& e) {
        return e.what();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "not the expected kind of error: " << e.what();
    }
    return {};
}

std::string deepGltf(unsigned depth) {
    std::string nodes;
    for (unsigned i = 0; i < depth; ++i)
        nodes += "{\"children\":[" + std::to_string(i + 1) + "]},";
    return R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],"nodes":[)" + nodes + R"({}]})";
}

// A 3MF package whose relationships name a model part it does not hold:
// Debian's assimp fails an internal assertion on it.
std::string packageWithoutItsModel() {
    return storedZip({
        {"[Content_Types].xml",
         R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/)"
         R"(content-types"><Default Extension="model" ContentType="application/vnd.ms-package.3dmanufacturing-)"
         R"(3dmodel+xml"/></Types>)"},
        {"_rels/.rels",
         R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/)"
         R"(package/2006/relationships"><Relationship Target="/3D/missing.model" Id="rel0" )"
         R"(Type="http://schemas.microsoft.com/3dmanufacturing/2013/01/3dmodel"/></Relationships>)"},
    });
}

// One triangle as COLLADA, its corners' indices and the attributes of its
// positions' array as given.
std::string colladaTriangle(const std::string& indices, const std::string& arrayAttributes = R"(count="9")") {
    return R"(<?xml version="1.0"?><COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">)"
           R"(<library_geometries><geometry id="g"><mesh><source id="p"><float_array id="a" )" +
           arrayAttributes +
           R"(>0 0 0 1 0 0 0 1 0</float_array><technique_common><accessor source="#a" count="3" stride="3">)"
           R"(<param name="X" type="float"/><param name="Y" type="float"/><param name="Z" type="float"/>)"
           R"(</accessor></technique_common></source><vertices id="v"><input semantic="POSITION" source="#p"/>)"
           R"(</vertices><triangles count="1"><input semantic="VERTEX" source="#v" offset="0"/><p>)" +
           indices +
           R"(</p></triangles></mesh></geometry></library_geometries><library_visual_scenes><visual_scene id="s">)"
           R"(<node id="n"><instance_geometry url="#g"/></node></visual_scene></library_visual_scenes>)"
           R"(<scene><instance_visual_scene url="#s"/></scene></COLLADA>)";
}

// Three vertices and one face whose list length field says `length`.
std::string binaryPlyWithListLength(int32_t length) {
    std::string out = "ply\nformat binary_little_endian 1.0\nelement vertex 3\nproperty float x\nproperty float y\n"
                      "property float z\nelement face 1\nproperty list int int vertex_indices\nend_header\n";
    const float corners[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    const int32_t face[4] = {length, 0, 1, 2};
    out.append(reinterpret_cast<const char*>(corners), sizeof corners);
    out.append(reinterpret_cast<const char*>(face), sizeof face);
    return out;
}

std::string withoutItsEnd(std::string bytes, std::size_t cut) {
    bytes.resize(bytes.size() - cut);
    return bytes;
}

TEST(ImportBadInputTest, EveryBadFileIsRefusedWithOneLineThatSaysWhy) {
    const std::vector<triangleS> three = torus(3, 1, 4, 1);
    const triangleS flat = {{0, 0, 1}, {{{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}}};
    const triangleS point = {{0, 0, 1}, {{{1, 2, 3}, {1, 2, 3}, {1, 2, 3}}}};
    const std::vector<triangleS> zeroArea = {flat, point};
    const std::string plyHead = "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\n"
                                "property float z\nelement face 1\nproperty list uchar int vertex_indices\nend_header\n";
    struct caseS {
        const char* name;
        std::string bytes;
        const char* says;
    };
    const caseS cases[] = {
        {"empty.stl", "", "the file is empty"},
        {"cut.stl", withoutItsEnd(binaryStl(three), 50),
         "as a binary STL its 6 triangles need 384 bytes, but the file has 334"},
        {"tiny.stl", "abc", "too short for a binary STL (3 bytes"},
        {"index.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 7\n", "OBJ: vertex index out of range"},
        {"index.ply", plyHead + "0 0 0\n1 0 0\n0 1 0\n3 0 1 7\n", "face 0 uses vertex 7 of 3"},
        {"nan.obj", "v 0 0 0\nv nan 0 0\nv 0 1 0\nf 1 2 3\n", "NaN or infinite coordinates (vertex 1)"},
        {"nan.ply", plyHead + "0 0 0\n1 0 nan\n0 1 0\n3 0 1 2\n", "NaN or infinite coordinates (vertex 1)"},
        {"inf.stl", "solid x\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1e39 0 0\nvertex 0 1 0\n"
                    "endloop\nendfacet\nendsolid x\n",
         "NaN or infinite coordinates"},
        {"flat.stl", binaryStl(zeroArea), "every face has zero area: there is nothing to draw"},
        {"nothing.obj", "# says what it is, holds no vertex\no a\ng b\n", "the file holds no geometry"},
        {"counts.ply", "ply\nformat ascii 1.0\nelement vertex 50000000\nproperty float x\nproperty float y\n"
                       "property float z\nend_header\n0 0 0\n",
         "the PLY header declares 50000000 vertex records, one a line, but only 1 line follows it"},
        {"counts-binary.ply", "ply\nformat binary_little_endian 1.0\nelement vertex 4000000000\nproperty float x\n"
                              "property float y\nproperty float z\nend_header\n" + std::string(12, '\0'),
         "which need at least 48000000000 bytes, but 12 follow it"},
        {"short.ply", plyHead + "0 0 0\n1 0 0\n3 0 1 2\n", "the PLY header declares 3 vertex and 1 face records"},
        // assimp's loader makes room for a list's declared length first.
        {"list.ply", plyHead + "0 0 0\n1 0 0\n0 1 0\n9 0 1 2\n",
         "record 1 of the PLY file's face element lists 9 values, but its line holds 3"},
        {"list-binary.ply", binaryPlyWithListLength(1000000000),
         "record 1 of the PLY file's face element lists 1000000000 values, more than the rest of the file holds"},
        {"negative-list.ply", binaryPlyWithListLength(-3), "ends the file or gives a negative list length"},
        {"counts.off", "OFF\n3 1 0\n0 0 0\n", "the OFF header declares 3 vertices and 1 face, one a line, but only 1"},
        // More lines without corners than the header has faces: assimp's
        // loader counts its faces down past zero and reads far beyond them.
        {"corners.off", "OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n0\n0\n3 0 1 2\n",
         "face 1 of the OFF file does not begin with a corner count from 1 to 9"},
        // OFF allows the keyword to be left out; the loader reads it all
        // the same.
        {"headless.off", "3 1 0\n0 0 0\n1 0 0\n0 1 0\n0\n0\n3 0 1 2\n",
         "face 1 of the OFF file does not begin with a corner count from 1 to 9"},
        {"long.off", "OFF\n3 1 0\n0 0 0" + std::string(5000, ' ') + "\n1 0 0\n0 1 0\n3 0 1 2\n",
         "line 1 after the header is longer than 4095 characters"},
        // Without its end_header line assimp's loader never stops reading.
        {"unended.ply", "ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\n", "the PLY header does not end"},
        {"deep.gltf", deepGltf(1100), "the node tree is more than 1000 levels deep"},
        // One letter among the indices: assimp's loader adds indices until
        // memory runs out.
        {"letter.dae", colladaTriangle("0 1x 2"), "index list 1 (<p>) of the COLLADA file holds something other"},
        // assimp's loader reads a missing or zero count through a null
        // pointer.
        {"uncounted.dae", colladaTriangle("0 1 2", ""),
         "data array 1 (<float_array>) of the COLLADA file does not give a count of its values above 0"},
        {"zero-count.dae", colladaTriangle("0 1 2", R"(count="0")"), "does not give a count of its values above 0"},
        // A node tree and no geometry: assimp's loader makes a mesh that
        // draws the tree and marks the scene incomplete.
        {"nodes.dae", R"(<?xml version="1.0"?><COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" )"
                      R"(version="1.4.1"><library_visual_scenes><visual_scene id="s"><node id="n" name="a">)"
                      R"(<translate>0 0 5</translate><node id="m" name="b"><translate>3 0 0</translate></node>)"
                      R"(</node></visual_scene></library_visual_scenes><scene><instance_visual_scene url="#s"/>)"
                      R"(</scene></COLLADA>)",
         "the file holds no geometry"},
        {"missing-part.3mf", packageWithoutItsModel(), "the reader failed its own check mRootStream != nullptr"},
    };
    const scratchFolderC folder("import_bad");
    for (const caseS& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.write(c.name, c.bytes);
        const std::string extension = std::strrchr(c.name, '.') + 1;
        const std::span<const unsigned char> bytes(reinterpret_cast<const unsigned char*>(c.bytes.data()),
                                                   c.bytes.size());
        for (const std::string& message : {refusal([&] { meshimport::importFile(path); }),
                                           refusal([&] { meshimport::importBytes(bytes, extension); })}) {
            EXPECT_NE(message.find(c.says), std::string::npos) << message;
            EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        }
    }

    // No reader knows it: the caller is told so by the error's kind.
    const std::string words = folder.write("words.xyz", "nothing any reader knows\n");
    EXPECT_EQ(refusal<meshimport::unknownFormatError>([&] { meshimport::importFile(words); }),
              "not in a format this build reads");

    EXPECT_EQ(refusal([&] { meshimport::importFile((folder.path() / "absent.stl").string()); }),
              "cannot be read: No such file or directory");
    EXPECT_EQ(refusal([&] { meshimport::importFile(folder.path().string()); }), "is not a regular file");
}

TEST(ImportBadInputTest, MessagesFromTheFileStayOneLine) {
    const scratchFolderC folder("import_lines");
    // A mesh name with a line break reaches the message.
    const std::string path = folder.write("named.obj", "o two\rlines\nv 0 0 0\nv nan 0 0\nv 0 1 0\nf 1 2 3\n");
    const std::string message = refusal([&] { meshimport::importFile(path); });
    EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos) << message;
    EXPECT_NE(message.find("NaN"), std::string::npos) << message;
}

TEST(ImportBadInputTest, LoadersOpenOnlyFilesInTheModelsFolder) {
    const scratchFolderC folder("import_folder");
    // assimp alone would read the material from the folder above.
    folder.write("outside.mtl", "newmtl green\nKd 0 1 0\n");
    const std::string above = "mtllib ../outside.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl green\nf 1 2 3\n";
    const u3d::sceneS outside = meshimport::importFile(folder.write("model/above.obj", above));
    ASSERT_NE(outside.findMaterial("green"), nullptr);
    EXPECT_NE(outside.findMaterial("green")->diffuse.g, 1);

    folder.write("model/inside.mtl", "newmtl green\nKd 0 1 0\n");
    const std::string beside = "mtllib inside.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl green\nf 1 2 3\n";
    const u3d::sceneS inside = meshimport::importFile(folder.write("model/beside.obj", beside));
    ASSERT_NE(inside.findMaterial("green"), nullptr);
    EXPECT_EQ(inside.findMaterial("green")->diffuse.g, 1);

    // A model in memory reaches no file at all, not even in the working
    // directory.
    const std::span<const unsigned char> bytes(reinterpret_cast<const unsigned char*>(beside.data()), beside.size());
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.path() / "model");
    u3d::sceneS inMemory;
    try {
        inMemory = meshimport::importBytes(bytes, "obj");
    } catch (...) {
        std::filesystem::current_path(before);
        throw;
    }
    std::filesystem::current_path(before);
    ASSERT_NE(inMemory.findMaterial("green"), nullptr);
    EXPECT_NE(inMemory.findMaterial("green")->diffuse.g, 1);
}

}  // namespace
