// What long work shows while it runs: one line on standard error, redrawn
// in place, naming the item ("NAME", or "N/M NAME" in a batch), its current
// step and how far that step has come (bytes), or how long it has taken for
// a step that reports nothing while it runs (the module's call). Shown only
// when standard error is a terminal and --quiet was not given; the line is
// cleared when the work ends, so that a terminal keeps only what the command
// prints, and a script that reads standard error sees nothing of it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

class progressC {
public:
    explicit progressC(bool quiet);
    // Clears the line.
    ~progressC();
    progressC(const progressC&) = delete;
    progressC& operator=(const progressC&) = delete;

    // Whether anything is shown at all.
    bool active() const { return active_; }
    // Names what the following steps work on; in a batch (count > 1) the
    // line starts "N/M NAME", index counted from 1.
    void item(const std::string& name, size_t index = 1, size_t count = 1);
    // A new step ("copying", "importing", "writing U3D"), shown at once.
    void step(const std::string& name);
    // How far the step has come: done bytes of total (0 when the total is
    // unknown). Redrawn at most ten times a second, and at the end.
    void bytes(uint64_t done, uint64_t total);
    // How long the step has taken; progressClockC calls it every second.
    void seconds(long long elapsed);
    // Takes the line off the terminal.
    void clear();

private:
    void draw(const std::string& detail, bool now);

    const bool active_;
    const size_t columns_;
    std::mutex mutex_;
    std::string item_;
    std::string step_;
    size_t shownLength_ = 0;
    std::chrono::steady_clock::time_point lastDraw_;
};

// A step that reports nothing while it runs: its name is shown at once,
// then with the seconds it has taken, every second, from a thread of its
// own, until the clock is destroyed.
class progressClockC {
public:
    progressClockC(progressC& progress, const std::string& step);
    ~progressClockC();
    progressClockC(const progressClockC&) = delete;
    progressClockC& operator=(const progressClockC&) = delete;

private:
    void tick();

    progressC& progress_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;
};

// Whether a progress line stands on the terminal without its line end, so
// that an interruption's line must start on a new one. Async-signal-safe.
bool progressLineShown();
