// box_vs_convert MODEL.u3d WORKDIR [ROUNDS]: what measuring a model's world
// box costs against the conversion of the same file, in one process.
//
// Each round (default 3) first reads MODEL.u3d with the U3D reader (every
// block decoded, every resolution update applied, the model nodes placed
// and the world box measured), then converts a fresh copy of it in WORKDIR
// through libu3dpdf.so loaded as a host loads it (the module deflates the
// file into the PDF's 3D stream; the copy is not timed). The two alternate,
// so that a change of machine load hits both alike. Prints the median wall
// and processor times of each side, their ratios (box / conversion) and the
// faces decoded per second.
//
// box_vs_convert --box-only MODEL.u3d: reads the model once and prints the
// box; bench/u3dbox.sh runs it under /usr/bin/time for the peak memory of
// measuring a box alone.
#include "conversionRequest.h"
#include "hostModule.h"
#include "timing.h"
#include "u3d/reader.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const std::string& message) { benchFail("box_vs_convert", message); }

// The model read and its box measured; returns the faces decoded.
std::size_t measureBox(const std::string& model, u3d::boxS& box) {
    const u3d::u3dFileS file = u3d::readU3dFile(model);
    box = file.summary.worldBox;
    std::size_t faces = 0;
    for (const u3d::geometryS& geometry : file.scene.geometries)
        if (geometry.kind == u3d::geometryKindE::mesh)
            faces += geometry.primitiveCount();
    return faces;
}

void printBox(const u3d::boxS& box, std::size_t faces) {
    std::printf("box %.7g %.7g %.7g  %.7g %.7g %.7g, %zu faces\n", box.min[0], box.min[1], box.min[2], box.max[0],
                box.max[1], box.max[2], faces);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--box-only") {
        u3d::boxS box;
        const std::size_t faces = measureBox(argv[2], box);
        printBox(box, faces);
        return 0;
    }
    if (argc != 3 && argc != 4)
        fail("usage: box_vs_convert MODEL.u3d WORKDIR [ROUNDS] | box_vs_convert --box-only MODEL.u3d");
    const std::filesystem::path model = argv[1];
    const std::filesystem::path work = argv[2];
    const int rounds = argc == 4 ? std::atoi(argv[3]) : 3;
    if (rounds < 1)
        fail("ROUNDS must be at least 1");

    void* module = nullptr;
    const convertMetaTreeF convert = loadModule("box_vs_convert", module);

    const std::string input = (work / "box_vs_convert.u3d").string();
    const std::string output = (work / "box_vs_convert.pdf").string();
    timingsS boxRounds, convertRounds;
    u3d::boxS box;
    std::size_t faces = 0;
    for (int round = 0; round < rounds; ++round) {
        boxRounds.add(timed([&] { faces = measureBox(model.string(), box); }));

        std::error_code ec;
        std::filesystem::copy_file(model, input, std::filesystem::copy_options::overwrite_existing, ec);
        if (ec)
            fail("cannot copy " + model.string() + " to " + input + ": " + ec.message());
        const modelBoxS requestBox{{box.min[0], box.min[1], box.min[2]}, {box.max[0], box.max[1], box.max[2]}};
        convertRounds.add(timed([&] {
            metaObjectC request = buildConversionRequest(output, input, requestBox);
            if (convert(request.node(), 0) != 1)
                fail("the conversion failed");
        }));
    }
    std::filesystem::remove(output);
    std::filesystem::remove(input);
    dlclose(module);

    printBox(box, faces);
    const auto [bw, bc] = boxRounds.median();
    const auto [cw, cc] = convertRounds.median();
    std::printf("%-10s %9s %9s\n", "median of", "wall_s", "cpu_s");
    std::printf("%-10s %9.3f %9.3f\n", "box", bw, bc);
    std::printf("%-10s %9.3f %9.3f\n", "convert", cw, cc);
    std::printf("ratio box/convert: wall %.2f, cpu %.2f\n", bw / cw, bc / cc);
    std::printf("decoded faces per second: %.0f (wall), %.0f (cpu)\n", faces / bw, faces / bc);
    return 0;
}
