#include "progress.h"

#include "hostPlatform.h"
#include "interruptGuard.h"

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t g_lineShown = 0;

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

// A terminal of unknown width is taken as the classic 80 columns.
size_t lineColumns() {
    const size_t columns = hostPlatform::terminalColumns(stderr);
    return columns > 1 ? columns : 80;
}

std::string megabytes(uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
    return text;
}

// Cut to fit the terminal's width: a longer line would wrap, and the
// carriage return would then redraw only its last part. A multi-byte UTF-8
// character is not split.
std::string fitted(std::string line, size_t width) {
    if (line.size() <= width)
        return line;
    size_t end = width;
    while (end > 0 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80)
        --end;
    line.resize(end);
    return line;
}

void writeErr(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

}  // namespace

bool progressLineShown() { return g_lineShown != 0; }

progressC::progressC(bool quiet)
    : active_(!quiet && hostPlatform::isTerminal(stderr)), columns_(active_ ? lineColumns() : 0) {}

progressC::~progressC() { clear(); }

void progressC::item(const std::string& name, size_t index, size_t count) {
    const std::lock_guard<std::mutex> lock(mutex_);
    item_ = count > 1 ? std::to_string(index) + "/" + std::to_string(count) + " " + name : name;
}

void progressC::step(const std::string& name) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        step_ = name;
    }
    draw({}, true);
}

void progressC::bytes(uint64_t done, uint64_t total) {
    if (!active_)
        return;
    const std::string detail = total > 0 ? " (" + std::to_string(done * 100 / total) + "% of " + megabytes(total) + ")"
                                         : " (" + megabytes(done) + ")";
    draw(detail, total > 0 && done >= total);
}

void progressC::seconds(long long elapsed) { draw(" (" + std::to_string(elapsed) + " s)", true); }

void progressC::clear() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (shownLength_ == 0)
        return;
    writeErr("\r" + std::string(shownLength_, ' ') + "\r");
    shownLength_ = 0;
    g_lineShown = 0;
}

void progressC::draw(const std::string& detail, bool now) {
    if (!active_)
        return;
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto time = std::chrono::steady_clock::now();
    if (!now && time - lastDraw_ < kRedrawInterval)
        return;
    lastDraw_ = time;
    const std::string line = fitted((item_.empty() ? "" : item_ + ": ") + step_ + detail, columns_ - 1);
    // Blanks cover what a longer line before left.
    const size_t blanks = shownLength_ > line.size() ? shownLength_ - line.size() : 0;
    writeErr("\r" + line + std::string(blanks, ' '));
    shownLength_ = line.size() + blanks;
    g_lineShown = 1;
}

progressClockC::progressClockC(progressC& progress, const std::string& step) : progress_(progress) {
    progress_.step(step);
    if (progress_.active())
        thread_ = std::thread(&progressClockC::tick, this);
}

progressClockC::~progressClockC() {
    if (!thread_.joinable())
        return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void progressClockC::tick() {
    keepInterruptsOffThisThread();
    const auto start = std::chrono::steady_clock::now();
    std::unique_lock<std::mutex> lock(mutex_);
    for (long long second = 1;; ++second) {
        if (wake_.wait_until(lock, start + std::chrono::seconds(second), [this] { return done_; }))
            return;
        progress_.seconds(second);
    }
}
