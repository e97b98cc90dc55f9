// Timing for the benchmarks that compare two sides in one process: wall
// time and processor time of one piece of work, and the median of repeated
// rounds (robust against a round the machine disturbed).
#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

struct timingS {
    double wall = 0;  // seconds
    double cpu = 0;   // seconds of the calling thread's processor time
};

// The calling thread's processor time: what the work itself costs, however
// busy the machine is (nothing the benchmarks time starts threads).
inline double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

template <typename F>
timingS timed(F&& work) {
    const std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    const double cpu = threadCpuSeconds();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(),
            threadCpuSeconds() - cpu};
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The rounds of one side, and their medians.
struct timingsS {
    std::vector<double> wall, cpu;

    void add(const timingS& t) {
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
    }
    timingS median() const { return {::median(wall), ::median(cpu)}; }
};

// The 1, 5 and 15 minute load averages, printed beside the timings: the
// load they were taken under.
inline std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string a, b, c;
    in >> a >> b >> c;
    return a + " " + b + " " + c;
}
