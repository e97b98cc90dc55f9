// Small-block churn through the pooled allocator against glibc malloc.
//
// Both replay one pseudo-random sequence of allocations of 8 to 256 bytes
// and releases over a table of places, with lifetimes mixed: three of four
// replacements hit a small window of recently used places (short-lived
// blocks), the rest the whole table (long-lived ones). With 8192 places many
// blocks live long; with 64 every block is short-lived. The pool goes
// through the memory system, the path of the module's global operator new.
// At the end the program prints the time of the pool relative to malloc for
// each table size.
#include "runtime/memory/memManSystemC.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kShortWindow = 64;
constexpr size_t kSteps = 200000;

struct stepS {
    uint32_t place;
    uint32_t size;
};

std::vector<stepS> makeSequence(uint32_t places) {
    std::vector<stepS> steps(kSteps);
    uint64_t x = 0x9E3779B97F4A7C15ull;  // xorshift64, fixed seed
    auto next = [&x] {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        return x;
    };
    uint32_t window = 0;
    for (stepS& step : steps) {
        uint64_t r = next();
        if ((r & 3) != 0) {
            step.place = (window + static_cast<uint32_t>((r >> 2) % kShortWindow)) % places;
        } else {
            step.place = static_cast<uint32_t>((r >> 2) % places);
            window = step.place;
        }
        step.size = 8 + static_cast<uint32_t>((r >> 32) % 249);
    }
    return steps;
}

const std::vector<stepS>& sequence(uint32_t places) {
    static std::map<uint32_t, std::vector<stepS>> sequences;
    auto known = sequences.find(places);
    if (known == sequences.end()) known = sequences.emplace(places, makeSequence(places)).first;
    return known->second;
}

struct poolS {
    static void* alloc(size_t n) { return memManSystemC::instance().alloc(n); }
    static void release(void* p) { memManSystemC::instance().free(p); }
};

struct mallocS {
    static void* alloc(size_t n) { return std::malloc(n); }
    static void release(void* p) { std::free(p); }
};

template <class Allocator>
void churn(benchmark::State& state) {
    const auto placeCount = static_cast<uint32_t>(state.range(0));
    const std::vector<stepS>& steps = sequence(placeCount);
    std::vector<void*> places(placeCount, nullptr);
    for (auto _ : state) {
        for (const stepS& step : steps) {
            void*& place = places[step.place];
            if (place != nullptr) Allocator::release(place);
            place = Allocator::alloc(step.size);
            *static_cast<volatile char*>(place) = 1;
        }
        for (void*& place : places) {
            Allocator::release(place);
            place = nullptr;
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * steps.size()));
}

BENCHMARK_TEMPLATE(churn, poolS)->Name("pool")->Arg(8192)->Arg(64)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK_TEMPLATE(churn, mallocS)->Name("malloc")->Arg(8192)->Arg(64)->Unit(benchmark::kMillisecond)->Repetitions(5);

// Keeps the best processor time per iteration of every benchmark for the
// closing ratio: the least disturbed run of each, on a machine shared with
// other work.
class ratioReporterC : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                double perIteration = run.cpu_accumulated_time / static_cast<double>(run.iterations);
                const std::string key = run.run_name.function_name + "/" + run.run_name.args;
                auto known = seconds.find(key);
                if (known == seconds.end() || perIteration < known->second) seconds[key] = perIteration;
            }
    }
    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    ratioReporterC reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const char* places : {"8192", "64"}) {
        auto pool = reporter.seconds.find(std::string("pool/") + places);
        auto system = reporter.seconds.find(std::string("malloc/") + places);
        if (pool != reporter.seconds.end() && system != reporter.seconds.end() && system->second > 0)
            std::printf("ratio pool/malloc (small-block churn, %s places): %.3f\n", places,
                        pool->second / system->second);
    }
    return 0;
}
