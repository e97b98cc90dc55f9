// Writing the U3D of a mesh of 1 000 000 triangles against assimp's own
// import of the same binary STL, in one process, alternately, five times
// each; medians and their ratio are printed. The scene written is what
// u3dpdf imports from that STL (meshimport::importFile: positions and
// normals joined); the assimp baseline is ReadFile with the processing
// steps the import asks for (triangulate, sort by primitive type).
//
// Memory: the resident size while the writer first runs is sampled every
// millisecond; its peak (the whole process, with the imported scene) is
// printed against three times the STL's size plus 32 MiB.
#include "import/meshImport.h"
#include "meshFiles.h"
#include "timing.h"
#include "u3d/writer.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kRounds = 5;
constexpr double kMiB = 1024.0 * 1024.0;

double residentBytes() {
    std::ifstream statm("/proc/self/statm");
    double pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * double(sysconf(_SC_PAGESIZE));
}

// The highest resident size while `work` runs, sampled from another thread.
template <typename F>
double peakResidentDuring(F&& work) {
    std::atomic<bool> running{true};
    std::atomic<double> peak{residentBytes()};
    std::thread sampler([&] {
        while (running) {
            const double now = residentBytes();
            if (now > peak)
                peak = now;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    work();
    running = false;
    sampler.join();
    return std::max(peak.load(), residentBytes());
}

}  // namespace

int main() {
    const fs::path dir = fs::temp_directory_path() / ("u3dpdf_bench_u3dwrite_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string stl = (dir / "torus.stl").string();
    const std::string u3d = (dir / "torus.u3d").string();
    meshfiles::writeFile(stl, meshfiles::binaryStl(meshfiles::torus(1000, 500, 4, 1)));
    const double stlBytes = double(fs::file_size(stl));
    const u3d::sceneS scene = meshimport::importFile(stl);
    const u3d::geometryS& mesh = scene.geometries.at(0);
    std::printf("input: binary STL, %zu triangles, %.0f bytes; scene: %zu positions, %zu normals; load before: %s\n",
                mesh.primitiveCount(), stlBytes, mesh.positions.size(), mesh.normals.size(), loadAverage().c_str());

    // Memory first, while nothing but the scene has been allocated.
    const double before = residentBytes();
    const double peak = peakResidentDuring([&] { u3d::writeU3dFile(scene, u3d); });

    timingsS assimp, write;
    for (int round = 0; round < kRounds; ++round) {
        assimp.add(timed([&] {
            Assimp::Importer importer;
            if (!importer.ReadFile(stl, aiProcess_Triangulate | aiProcess_SortByPType))
                std::fprintf(stderr, "assimp: %s\n", importer.GetErrorString());
        }));
        write.add(timed([&] { u3d::writeU3dFile(scene, u3d); }));
    }
    const auto [aw, ac] = assimp.median();
    const auto [ww, wc] = write.median();
    std::printf("output: %ju bytes of U3D\n", std::uintmax_t(fs::file_size(u3d)));
    std::printf("%-10s %9s %9s %12s %11s\n", "", "wall_s", "cpu_s", "wall/assimp", "cpu/assimp");
    std::printf("%-10s %9.3f %9.3f %12.3f %11.3f\n", "assimp", aw, ac, 1.0, 1.0);
    std::printf("%-10s %9.3f %9.3f %12.3f %11.3f\n", "write", ww, wc, ww / aw, wc / ac);
    const double limit = 3 * stlBytes + 32 * kMiB;
    std::printf("write memory: peak resident %.1f MiB (%.1f MiB before: the imported scene and what the import\n"
                "  left to malloc); limit 3 x STL + 32 MiB = %.1f MiB (peak/limit %.3f)\n",
                peak / kMiB, before / kMiB, limit / kMiB, peak / limit);
    std::printf("load after: %s\n", loadAverage().c_str());
    fs::remove_all(dir);
}
