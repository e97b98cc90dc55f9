// What assimp itself makes of a file, counted with its own numbers and its
// own matrix arithmetic: the yardstick the imported scene is held against.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

struct assimpReferenceS {
    // The world box of every vertex that a primitive uses (every vertex of
    // a mesh without faces), each placed by the product of the transforms
    // on its node's path.
    std::array<double, 3> min{};
    std::array<double, 3> max{};
    // Primitives of the meshes the node tree shows, each mesh once.
    std::size_t triangles = 0;
    std::size_t lines = 0;
    std::size_t points = 0;
};

// Reads the file with assimp (polygons triangulated, meshes sorted by
// primitive type, as the import does); fails the test when assimp cannot.
assimpReferenceS assimpReference(const std::string& path);

// The file as assimp reads it (polygons triangulated), written again by
// assimp's exporter in `format` to `to`: the formats the tests cannot write
// by hand (3MF, COLLADA). Returns `to`; fails the test when assimp cannot.
std::string exportedByAssimp(const std::string& from, const char* format, const std::string& to);
