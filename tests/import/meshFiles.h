// Small mesh files written by the tests themselves, in the formats people
// bring: STL (binary and ASCII), OBJ with its MTL, PLY (ASCII and binary),
// OFF, glTF with its buffer, and GLB. The benchmark takes its large STL
// from here too.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace meshfiles {

using point = std::array<float, 3>;

struct triangleS {
    point normal;
    std::array<point, 3> corners;
};

// A triangle soup: every corner on its own, as STL stores it.
std::string binaryStl(std::span<const triangleS> triangles);
std::string asciiStl(std::span<const triangleS> triangles, const std::string& solid);

// A torus around the z axis: `around` x `across` quads, two triangles each,
// with facet normals. Radii R (to the tube's centre) and r (of the tube).
std::vector<triangleS> torus(unsigned around, unsigned across, float R, float r);

// The unit cube [0,1]^3 as 12 triangles whose normals are all zero, as many
// STL writers leave them.
std::vector<triangleS> cubeWithoutNormals();

// Five coloured vertices (red, green, blue, white, black) under a quad
// (0 1 2 3) and a triangle (0 1 4): x, y, z and red, green, blue bytes.
std::string coloredPly(bool binary);
// The same five vertices with their colours and no faces: a point cloud.
std::string plyPoints();
// Three vertices and no faces.
std::string objPoints();
// A cube of edge 2 centred on (1, 2, 3): eight vertices and six quads, no
// normals.
std::string offCube();

// An OBJ with its material library "parts.mtl": object "left" (a red quad
// at z = 0), object "right" (a blue triangle at z = 0) and object "edges"
// (a polyline of three points at z = 1, blue as the object before it).
struct objFilesS {
    std::string obj;
    std::string mtl;
};
objFilesS objWithMaterials();

// A small assembly as glTF 2.0: node "assembly" (moved by 10 along x) over
// "base" (a unit cube with per-vertex colours, drawn by two primitives of
// materials "red" and "blue"), two nodes named "arm" showing one triangle
// (one rotated 90 degrees about z, scaled by 2 and moved; the other moved),
// a node without a name given as a matrix, and an empty node. The buffer
// is "assembly.bin" beside the JSON.
struct gltfFilesS {
    std::string json;
    std::string bin;
};
gltfFilesS gltfAssembly();
// The same assembly as one GLB file: the JSON chunk and the buffer chunk.
std::string glbAssembly();

// A ZIP archive of the given files, stored without compression (3MF
// packages are ZIP archives).
struct zipEntryS {
    std::string name;
    std::string bytes;
};
std::string storedZip(const std::vector<zipEntryS>& entries);

void writeFile(const std::filesystem::path& path, const std::string& bytes);

// A fresh folder for one test, removed with all it holds afterwards.
class scratchFolderC {
public:
    explicit scratchFolderC(const std::string& tag);
    ~scratchFolderC();
    scratchFolderC(const scratchFolderC&) = delete;
    scratchFolderC& operator=(const scratchFolderC&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The path of a file in the folder, written with the bytes.
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

}  // namespace meshfiles
