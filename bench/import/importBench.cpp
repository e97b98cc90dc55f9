// A binary STL of 1 000 000 triangles (a torus, every corner on its own as
// STL stores it), imported three ways in one process, alternately, five
// times each; the medians are printed with their ratios:
//   assimp    ReadFile with the processing steps the import asks for
//             (triangulate, sort by primitive type): assimp's own import
//             of the file, the baseline
//   import    meshimport::importFile: the checks before loading, the
//             loader, the check of its output, the same steps, and the
//             mapping into the scene model
//   mapping   the mapping alone (mapScene on the processed scene): the
//             join of the soup's identical positions and normals
//   assimp+join  ReadFile with assimp's own JoinIdenticalVertices added:
//             what joining the soup costs there (it joins whole vertices,
//             so corners whose facet normals differ stay apart)
// Once with the file's facet normals, once with all normals zero (as many
// STL writers leave them), where the mapping makes them from the faces.
// Wall time and the thread's CPU time are both shown: the machine is shared.
#include "import/loaderOutput.h"
#include "import/meshImport.h"
#include "import/sceneMapping.h"
#include "meshFiles.h"
#include "timing.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr unsigned kSteps = aiProcess_Triangulate | aiProcess_SortByPType;
constexpr int kRounds = 5;

void run(const char* label, const std::string& stl) {
    timingsS assimp, import, mapping, assimpJoin;
    std::size_t positions = 0, normals = 0;
    for (int round = 0; round < kRounds; ++round) {
        assimp.add(timed([&] {
            Assimp::Importer importer;
            if (!importer.ReadFile(stl, kSteps))
                std::fprintf(stderr, "assimp: %s\n", importer.GetErrorString());
        }));
        import.add(timed([&] {
            const u3d::sceneS scene = meshimport::importFile(stl);
            positions = scene.geometries.at(0).positions.size();
            normals = scene.geometries.at(0).normals.size();
        }));
        Assimp::Importer importer;
        const aiScene* loaded = importer.ReadFile(stl, 0);
        meshimport::checkLoaderOutput(const_cast<aiScene&>(*loaded));
        const aiScene* processed = importer.ApplyPostProcessing(kSteps);
        mapping.add(timed([&] { meshimport::mapScene(*processed, "torus"); }));
        assimpJoin.add(timed([&] {
            Assimp::Importer joining;
            if (!joining.ReadFile(stl, kSteps | aiProcess_JoinIdenticalVertices))
                std::fprintf(stderr, "assimp: %s\n", joining.GetErrorString());
        }));
    }
    const auto [aw, ac] = assimp.median();
    std::printf("== %s: %zu distinct positions, %zu distinct normals\n", label, positions, normals);
    std::printf("%-12s %9s %9s %12s %11s\n", "", "wall_s", "cpu_s", "wall/assimp", "cpu/assimp");
    for (const auto& [name, m] : {std::pair<const char*, timingsS*>{"assimp", &assimp}, {"import", &import},
                                  {"mapping", &mapping}, {"assimp+join", &assimpJoin}}) {
        const auto [wall, cpu] = m->median();
        std::printf("%-12s %9.3f %9.3f %12.3f %11.3f\n", name, wall, cpu, wall / aw, cpu / ac);
    }
}

}  // namespace

int main() {
    const fs::path dir = fs::temp_directory_path() / ("u3dpdf_bench_import_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::vector<meshfiles::triangleS> torus = meshfiles::torus(1000, 500, 4, 1);
    const std::string withNormals = (dir / "normals.stl").string();
    meshfiles::writeFile(withNormals, meshfiles::binaryStl(torus));
    for (meshfiles::triangleS& t : torus)
        t.normal = {0, 0, 0};
    const std::string zeroNormals = (dir / "zero.stl").string();
    meshfiles::writeFile(zeroNormals, meshfiles::binaryStl(torus));
    torus = {};

    std::printf("input: binary STL, 1000000 triangles, %ju bytes; load before: %s\n",
                std::uintmax_t(fs::file_size(withNormals)), loadAverage().c_str());
    run("facet normals", withNormals);
    run("zero normals, made from the faces", zeroNormals);
    std::printf("load after: %s\n", loadAverage().c_str());
    fs::remove_all(dir);
}
