// Timing for the benchmarks that compare two sides in one process: wall
// time and this process's processor time of one piece of work, and the
// median of repeated rounds (robust against a round the machine disturbed).
#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

struct timingS {
    double wall = 0; // seconds
    double cpu = 0;  // seconds of this process's processor time
};

template <typename F>
timingS timed(F&& work) {
    const std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    const std::clock_t cpu = std::clock();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(),
            static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC};
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
