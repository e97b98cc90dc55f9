// poster_vs_convert MODEL.u3d WORKDIR [ROUNDS]: what the poster adds to a
// conversion, in one process through libu3dpdf.so loaded as a host loads it.
//
// Each round (default 3) converts a fresh copy of MODEL.u3d in WORKDIR
// without custom entries, then with Poster On (the default 150 pixels per
// inch), then reads the model with the U3D reader alone; the three alternate
// so that a change of machine load hits them alike. Both conversions carry
// CenterView On and the model's own world box, so that the poster shows the
// model as the view frames it. Prints the median wall and processor time of
// each, the poster's share (with minus without) and its ratio to the
// conversion without a poster, and how much of the poster the reading is.
//
// poster_vs_convert --once plain|poster MODEL.u3d WORKDIR MINX MINY MINZ MAXX
// MAXY MAXZ: one conversion for that box (the one the first form prints),
// for bench/poster.sh to run under /usr/bin/time for the peak memory: the
// model is not read in this process then, so that the peak is the
// conversion's own.
#include "conversionRequest.h"
#include "hostModule.h"
#include "timing.h"
#include "translator/customEntryKeys.h"
#include "u3d/reader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const std::string& message) { benchFail("poster_vs_convert", message); }

struct convertS {
    convertMetaTreeF convert;
    fs::path model, input, output;
    modelBoxS box;

    // A fresh copy converted (the copy untimed: the module deletes it).
    timingS run(bool poster) const {
        std::error_code ec;
        fs::copy_file(model, input, fs::copy_options::overwrite_existing, ec);
        if (ec)
            fail("cannot copy " + model.string() + ": " + ec.message());
        return timed([&] {
            std::vector<customEntryS> entries = {{kEntryCenterView, "On"}};
            if (poster)
                entries.push_back({kEntryPoster, "On"});
            metaObjectC request = buildConversionRequest(output.string(), input.string(), box, entries);
            if (convert(request.node(), 0) != 1)
                fail("the conversion failed");
        });
    }
};

modelBoxS worldBox(const fs::path& model) {
    const u3d::boxS box = u3d::readU3dFile(model.string()).summary.worldBox;
    return {{box.min[0], box.min[1], box.min[2]}, {box.max[0], box.max[1], box.max[2]}};
}

}  // namespace

int main(int argc, char** argv) {
    const bool once = argc == 11 && std::string(argv[1]) == "--once";
    if (!once && argc != 3 && argc != 4)
        fail("usage: poster_vs_convert MODEL.u3d WORKDIR [ROUNDS] | poster_vs_convert --once plain|poster MODEL.u3d "
             "WORKDIR MINX MINY MINZ MAXX MAXY MAXZ");
    const fs::path model = argv[once ? 3 : 1], work = argv[once ? 4 : 2];
    modelBoxS box;
    if (once) {
        for (int i = 0; i < 3; ++i) {
            box.min[i] = std::atof(argv[5 + i]);
            box.max[i] = std::atof(argv[8 + i]);
        }
    } else {
        box = worldBox(model);
        std::printf("box %.9g %.9g %.9g %.9g %.9g %.9g\n", box.min[0], box.min[1], box.min[2], box.max[0], box.max[1],
                    box.max[2]);
    }
    void* module = nullptr;
    convertS c{loadModule("poster_vs_convert", module), model, work / "poster_vs_convert.u3d",
               work / "poster_vs_convert.pdf", box};
    if (once) {
        c.run(std::string(argv[2]) == "poster");
    } else {
        const int rounds = argc == 4 ? std::atoi(argv[3]) : 3;
        if (rounds < 1)
            fail("ROUNDS must be at least 1");
        timingsS plain, poster, read;
        for (int round = 0; round < rounds; ++round) {
            plain.add(c.run(false));
            poster.add(c.run(true));
            read.add(timed([&] { u3d::readU3dFile(model.string()); }));
        }
        const auto [pw, pc] = plain.median();
        const auto [qw, qc] = poster.median();
        const auto [rw, rc] = read.median();
        std::printf("%-22s %9s %9s\n", "median of", "wall_s", "cpu_s");
        std::printf("%-22s %9.3f %9.3f\n", "convert without poster", pw, pc);
        std::printf("%-22s %9.3f %9.3f\n", "convert with poster", qw, qc);
        std::printf("%-22s %9.3f %9.3f\n", "poster (difference)", qw - pw, qc - pc);
        std::printf("%-22s %9.3f %9.3f\n", "reading the model", rw, rc);
        std::printf("%-22s %9.3f %9.3f\n", "drawing and the rest", qw - pw - rw, qc - pc - rc);
        std::printf("ratio poster/convert without: wall %.2f, cpu %.2f (goal <= 0.5)\n", (qw - pw) / pw,
                    (qc - pc) / pc);
        std::printf("ratio drawing alone/convert without: wall %.2f, cpu %.2f\n", (qw - pw - rw) / pw,
                    (qc - pc - rc) / pc);
    }
    fs::remove(c.output);
    fs::remove(c.input);
    dlclose(module);
    return 0;
}
