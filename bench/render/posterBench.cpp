// bench_poster [TRIANGLES] [--mode NAME] [--ppm FILE]: the poster of a finely tessellated
// torus (1,000,000 triangles by default) at the default size, 1631 x 1254
// pixels, in the default view (SolidOutline, White lighting) and a few other
// modes (or only the one named). Prints the time (median of 5), triangles per second and the peak
// memory the drawing adds to the process.
//
// The goal compares the poster with the conversion of the same model without
// a poster, which is mostly deflating its U3D file. Until posters are part of
// conversions, the baseline here is a stand-in measured in the same run:
// compress2 at level 6 over the geometry's own arrays (positions, normals
// and their indices) after a first deflate, as coded as a U3D file's bytes.
#include "render/poster.h"

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

namespace {

u3d::sceneS torus(std::size_t triangles) {
    // Rings around the tube and segments along it, twice as many segments.
    const std::size_t rings = std::max<std::size_t>(3, std::size_t(std::sqrt(double(triangles) / 4)));
    const std::size_t segments = std::max<std::size_t>(3, triangles / (2 * rings));
    const double big = 4, small = 1, pi = 3.14159265358979323846;
    u3d::geometryS g;
    g.name = "torus";
    for (std::size_t s = 0; s < segments; ++s)
        for (std::size_t r = 0; r < rings; ++r) {
            const double u = 2 * pi * double(s) / double(segments), v = 2 * pi * double(r) / double(rings);
            const double cu = std::cos(u), su = std::sin(u), cv = std::cos(v), sv = std::sin(v);
            g.positions.push_back({float((big + small * cv) * cu), float((big + small * cv) * su), float(small * sv)});
            g.normals.push_back({float(cv * cu), float(cv * su), float(sv)});
        }
    auto at = [&](std::size_t s, std::size_t r) { return uint32_t((s % segments) * rings + r % rings); };
    for (std::size_t s = 0; s < segments; ++s)
        for (std::size_t r = 0; r < rings; ++r)
            for (uint32_t index : {at(s, r), at(s + 1, r), at(s + 1, r + 1), at(s, r), at(s + 1, r + 1), at(s, r + 1)})
                g.positionIndices.push_back(index);
    g.normalIndices = g.positionIndices;

    u3d::sceneS scene;
    scene.geometries.push_back(std::move(g));
    u3d::materialS material;
    material.name = "m";
    material.diffuse = {0.8f, 0.55f, 0.2f, 1};
    scene.materials.push_back(material);
    scene.shaders.push_back({"s", "m"});
    u3d::nodeS node;
    node.kind = u3d::nodeKindE::model;
    node.name = "torus";
    node.parents.push_back({"", {}});
    node.resource = "torus";
    node.shaders = {"s"};
    scene.nodes.push_back(node);
    return scene;
}

// The module's default view of a box of that diagonal.
render::cameraS defaultCamera(double diagonal) {
    const double d = 1.8 * diagonal;
    render::cameraS c;
    c.cameraToWorld = {-0.707107, 0, 0.707107, -0.353553, 0.866025, -0.353553,
                       -0.612372, -0.5,   -0.612372, d * 0.612372, d * 0.5,    d * 0.612372};
    c.centreOfOrbit = d;
    return c;
}

template <class T>
void append(std::vector<unsigned char>& bytes, const std::vector<T>& items) {
    const auto* data = reinterpret_cast<const unsigned char*>(items.data());
    bytes.insert(bytes.end(), data, data + items.size() * sizeof(T));
}

// Processor time of the process so far: on a machine shared with other
// work it says more than the wall clock does.
double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

double seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// Resident and peak resident set from /proc/self/status, in KiB.
long statusKiB(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::atol(line.c_str() + std::strlen(key));
    return -1;
}

// Lets the peak resident set start again from the current one (Linux).
void resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t triangles = 1000000;
    std::string ppm, only;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--ppm") == 0 && i + 1 < argc)
            ppm = argv[++i];
        else if (std::strcmp(argv[i], "--mode") == 0 && i + 1 < argc)
            only = argv[++i];
        else
            triangles = std::size_t(std::atol(argv[i]));
    }
    const u3d::sceneS scene = torus(triangles);
    const u3d::geometryS& g = scene.geometries[0];
    const auto size = render::posterPixels(783, 602, 150);
    const render::cameraS camera = defaultCamera(std::sqrt(10.0 * 10 + 10 * 10 + 2 * 2));

    std::vector<unsigned char> bytes;
    append(bytes, g.positions);
    append(bytes, g.normals);
    append(bytes, g.positionIndices);
    append(bytes, g.normalIndices);
    // A U3D file's bytes are coded already, so deflating them again runs
    // at the speed of incompressible data: the stand-in deflates the
    // geometry's arrays once (untimed) and times deflating that result.
    std::vector<unsigned char> coded(compressBound(uLong(bytes.size())));
    uLongf codedLength = uLongf(coded.size());
    compress2(coded.data(), &codedLength, bytes.data(), uLong(bytes.size()), 1);
    coded.resize(codedLength);
    std::vector<unsigned char> deflated(compressBound(uLong(coded.size())));
    std::vector<double> baseline;
    for (int run = 0; run < 3; ++run) {
        uLongf length = uLongf(deflated.size());
        const auto start = std::chrono::steady_clock::now();
        compress2(deflated.data(), &length, coded.data(), uLong(coded.size()), 6);
        baseline.push_back(seconds(start));
    }
    const double deflate = median(baseline);

    std::printf("torus of %zu triangles, %zu positions; poster %d x %d\n", g.primitiveCount(), g.positions.size(),
                size[0], size[1]);
    std::printf("stand-in baseline: compress2 level 6 of %.1f MB of coded geometry: %.3f s (%.1f MB/s)\n",
                double(coded.size()) / 1e6, deflate, double(coded.size()) / 1e6 / deflate);
    bytes = {};
    coded = {};
    deflated = {};

    std::printf("%-14s %9s %9s %9s %16s %10s\n", "mode", "poster_s", "cpu_s", "Mtri/s", "added_peak_MiB", "ratio");
    const std::pair<const char*, render::renderModeE> modes[] = {
        {"SolidOutline", render::renderModeE::solidOutline},
        {"Solid", render::renderModeE::solid},
        {"Transparent", render::renderModeE::transparent},
        {"Wireframe", render::renderModeE::wireframe}};
    for (const auto& [name, mode] : modes) {
        if (!only.empty() && only != name)
            continue;
        render::drawingS drawing;
        drawing.mode = mode;
        std::vector<double> times, cpu;
        long added = 0;
        for (int run = 0; run < 5; ++run) {
            const long before = statusKiB("VmRSS:");
            resetPeak();
            const auto start = std::chrono::steady_clock::now();
            const double cpuStart = cpuSeconds();
            render::imageS image = render::renderPoster(scene, camera, drawing, size[0], size[1]);
            times.push_back(seconds(start));
            cpu.push_back(cpuSeconds() - cpuStart);
            added = std::max(added, statusKiB("VmHWM:") - before);
            if (!ppm.empty() && run == 0 && mode == render::renderModeE::solidOutline) {
                std::ofstream out(ppm, std::ios::binary);
                out << "P6\n" << image.width << ' ' << image.height << "\n255\n";
                out.write(reinterpret_cast<const char*>(image.rgb.data()), std::streamsize(image.rgb.size()));
            }
        }
        const double t = median(times);
        std::printf("%-14s %9.3f %9.3f %9.2f %16.1f %10.3f\n", name, t, median(cpu), double(g.primitiveCount()) / t / 1e6,
                    double(added) / 1024, t / deflate);
    }
    std::printf("ratio: poster time / stand-in baseline time (goal: at most 0.5 of the real conversion)\n");
    return 0;
}
