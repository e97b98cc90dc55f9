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

struct sampleS {
    double wall = 0;
    double cpu = 0;
};

double threadCpu() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

template <typename F>
sampleS measure(F&& work) {
    const auto start = std::chrono::steady_clock::now();
    const double cpu = threadCpu();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), threadCpu() - cpu};
}

double medianOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double residentBytes() {
    std::ifstream statm("/proc/self/statm");
    double pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * double(sysconf(_SC_PAGESIZE));
}

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string a, b, c;
    in >> a >> b >> c;
    return a + " " + b + " " + c;
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

    std::vector<double> assimpWall, assimpCpu, writeWall, writeCpu;
    for (int round = 0; round < kRounds; ++round) {
        const sampleS a = measure([&] {
            Assimp::Importer importer;
            if (!importer.ReadFile(stl, aiProcess_Triangulate | aiProcess_SortByPType))
                std::fprintf(stderr, "assimp: %s\n", importer.GetErrorString());
        });
        assimpWall.push_back(a.wall);
        assimpCpu.push_back(a.cpu);
        const sampleS w = measure([&] { u3d::writeU3dFile(scene, u3d); });
        writeWall.push_back(w.wall);
        writeCpu.push_back(w.cpu);
    }
    const double aw = medianOf(assimpWall), ac = medianOf(assimpCpu);
    const double ww = medianOf(writeWall), wc = medianOf(writeCpu);
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
