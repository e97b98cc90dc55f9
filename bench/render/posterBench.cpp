// bench_poster [TRIANGLES] [--mode NAME] [--ppm FILE]: the poster of a
// finely tessellated torus (1,000,000 triangles by default) at the default
// size, 1631 x 1254 pixels, in the default view (SolidOutline, White
// lighting) and three other modes, or only the one named. Prints the wall
// and processor time (median of 5), triangles per second and the peak of
// heap memory the drawing adds (counted by this program's operator new).
//
// The goal compares the poster with the conversion of the same model without
// a poster, which is mostly deflating its U3D file. Until posters are part of
// conversions, the baseline is a stand-in measured in the same run: compress2
// at level 6 over 20 MB of already deflated geometry (see main).
#include "render/poster.h"
#include "timing.h"

#include <zlib.h>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <new>
#include <string>
#include <vector>

namespace {

// Heap bytes in use and their peak, counted by the operators below.
std::size_t heapInUse = 0;
std::size_t heapPeak = 0;

}  // namespace

void* operator new(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    heapInUse += malloc_usable_size(p);
    heapPeak = std::max(heapPeak, heapInUse);
    return p;
}
static void release(void* p) noexcept {
    if (p)
        heapInUse -= malloc_usable_size(p);
    std::free(p);
}
void operator delete(void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }

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
    // A U3D file's bytes are coded already, so deflating them again runs at
    // the speed of incompressible data: the stand-in deflates the geometry's
    // arrays once (untimed) and repeats the result up to 20 MB, the middle
    // of the 15 to 25 MB a U3D file of a million triangles takes.
    std::vector<unsigned char> coded(compressBound(uLong(bytes.size())));
    uLongf codedLength = uLongf(coded.size());
    compress2(coded.data(), &codedLength, bytes.data(), uLong(bytes.size()), 1);
    coded.resize(codedLength);
    const std::size_t standInSize = std::size_t(20) << 20;
    while (coded.size() < standInSize)
        coded.insert(coded.end(), coded.begin(), coded.begin() + std::min(coded.size(), standInSize - coded.size()));
    std::vector<unsigned char> deflated(compressBound(uLong(coded.size())));
    timingsS baseline;
    for (int run = 0; run < 3; ++run) {
        uLongf length = uLongf(deflated.size());
        baseline.add(timed([&] { compress2(deflated.data(), &length, coded.data(), uLong(coded.size()), 6); }));
    }
    const auto [deflate, deflateCpu] = baseline.median();

    std::printf("torus of %zu triangles, %zu positions; poster %d x %d\n", g.primitiveCount(), g.positions.size(),
                size[0], size[1]);
    std::printf("stand-in baseline: compress2 level 6 of %.1f MiB of coded geometry: %.3f s, cpu %.3f s\n",
                double(coded.size()) / (1 << 20), deflate, deflateCpu);
    bytes = {};
    coded = {};
    deflated = {};

    std::printf("%-14s %9s %9s %9s %16s %10s\n", "mode", "poster_s", "cpu_s", "Mtri/s", "added_peak_MiB", "cpu_ratio");
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
        timingsS rounds;
        std::size_t added = 0;
        for (int run = 0; run < 5; ++run) {
            const std::size_t before = heapInUse;
            heapPeak = before;
            render::imageS image;
            rounds.add(timed([&] { image = render::renderPoster(scene, camera, drawing, size[0], size[1]); }));
            added = std::max(added, heapPeak - before);
            if (!ppm.empty() && run == 0 && mode == render::renderModeE::solidOutline) {
                std::ofstream out(ppm, std::ios::binary);
                out << "P6\n" << image.width << ' ' << image.height << "\n255\n";
                out.write(reinterpret_cast<const char*>(image.rgb.data()), std::streamsize(image.rgb.size()));
            }
        }
        const auto [t, c] = rounds.median();
        std::printf("%-14s %9.3f %9.3f %9.2f %16.1f %10.3f\n", name, t, c, double(g.primitiveCount()) / c / 1e6,
                    double(added) / (1 << 20), c / deflateCpu);
    }
    std::printf("cpu_ratio: poster / stand-in baseline, processor time (goal: at most 0.5 of the real conversion)\n");
    return 0;
}
