// repeat_convert MODEL.u3d WORKDIR [COUNT]: COUNT (default 10000) conversions
// of one small model in a single process, through libu3dpdf.so loaded as a
// host loads it. A module lives as long as the host that loaded it, so what
// one conversion leaves behind (pool blocks, log records, open files) adds
// up here where a single command-line run would hide it.
//
// The module deletes the U3D file it converts: every round converts a fresh
// copy of MODEL.u3d made in WORKDIR. Only the request and the module call are
// timed, not the copy. Prints the mean time per conversion and the resident
// set size after 100, 1000, 10000, ... conversions and after all of them,
// with the mean of the last 100 conversions at each point: a one-time warm-up
// shows between the first two, growth per conversion in every step.
#include "conversionRequest.h"
#include "hostModule.h"

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using clockT = std::chrono::steady_clock;

[[noreturn]] void fail(const std::string& message) { benchFail("repeat_convert", message); }

// Resident set size in bytes: the second field of /proc/self/statm, in pages.
int64_t residentBytes() {
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    long long size = 0, resident = 0;
    const bool ok = statm && std::fscanf(statm, "%lld %lld", &size, &resident) == 2;
    if (statm)
        std::fclose(statm);
    if (!ok)
        fail("cannot read /proc/self/statm");
    return resident * sysconf(_SC_PAGESIZE);
}

// The mean over all conversions so far, and over the last 100 alone: a cost
// that grows with the number of conversions shows in the second.
void report(long conversions, clockT::duration spent, clockT::duration lastHundred) {
    const auto micros = [](clockT::duration d, long n) {
        return 1e6 * std::chrono::duration<double>(d).count() / static_cast<double>(n);
    };
    std::printf("after %-6ld conversions: %8.1f us per conversion (last 100: %8.1f us), RSS %8.1f KiB\n",
                conversions, micros(spent, conversions), micros(lastHundred, 100),
                static_cast<double>(residentBytes()) / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4)
        fail("usage: repeat_convert MODEL.u3d WORKDIR [COUNT]");
    const std::filesystem::path model = argv[1];
    const std::filesystem::path work = argv[2];
    const long count = argc == 4 ? std::strtol(argv[3], nullptr, 10) : 10000;
    if (count < 100)
        fail("COUNT must be at least 100");

    void* module = nullptr;
    const convertMetaTreeF convert = loadModule("repeat_convert", module);

    const std::string input = (work / "repeat.u3d").string();
    const std::string output = (work / "repeat.pdf").string();
    const modelBoxS box{{0, 0, 0}, {1, 1, 1}};
    clockT::duration spent{};
    clockT::duration window{};  // the conversions since the last multiple of 100
    long nextReport = 100;
    for (long i = 1; i <= count; ++i) {
        std::error_code ec;
        std::filesystem::copy_file(model, input, std::filesystem::copy_options::overwrite_existing, ec);
        if (ec)
            fail("cannot copy " + model.string() + " to " + input + ": " + ec.message());
        const clockT::time_point start = clockT::now();
        {
            // The request is the host's; the nodes the module added to it go
            // back to the module's allocator here, while it is loaded.
            metaObjectC request = buildConversionRequest(output, input, box);
            if (convert(request.node(), 0) != 1)
                fail("conversion " + std::to_string(i) + " failed");
        }
        const clockT::duration took = clockT::now() - start;
        spent += took;
        window += took;
        if (i == nextReport || i == count)
            report(i, spent, window);
        if (i == nextReport)
            nextReport *= 10;
        if (i % 100 == 0)
            window = {};
    }
    std::filesystem::remove(output);
    dlclose(module);
    return 0;
}
