// Writes the binary STL of a torus of AROUND x ACROSS quads (two triangles
// each) to OUT: the mesh input of the benchmarks that need a large model
// as people bring it, written the same way each time.
//   torus_stl OUT [AROUND ACROSS]
#include "meshFiles.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: torus_stl OUT [AROUND ACROSS]\n");
        return 2;
    }
    const unsigned around = argc == 4 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 1000;
    const unsigned across = argc == 4 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)) : 500;
    try {
        meshfiles::writeFile(argv[1], meshfiles::binaryStl(meshfiles::torus(around, across, 5, 2)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "torus_stl: %s\n", e.what());
        return 1;
    }
    return 0;
}
