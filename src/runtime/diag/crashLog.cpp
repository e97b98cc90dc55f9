#include "runtime/diag/crashLog.h"

#include "runtime/diag/fixedTextC.h"
#include "runtime/diag/frameLines.h"
#include "runtime/diag/stackWalk.h"

#include <atomic>
#include <cstring>

namespace {

constexpr char kLogName[] = "qvdbgcrash.log";

// Crashes of several threads at once take turns: the storage below is
// shared, and a thread that went on to end the process would cut the entry
// being written short. A turn ends well within this time or is not waited for.
constexpr int kTurnWaitMilliseconds = 2 * 1000 * (kCrashSymbolSeconds + 1);
constexpr int kTurnPollMilliseconds = 10;

// Everything an entry needs, kept out of the (possibly alternate, small)
// signal stack.
struct crashLogStorageS {
    char path[4096];
    char firstLine[128];
    char line[kFrameLineCapacity];
    platform::FrameInfo frame;
};
crashLogStorageS g_storage;

// After one entry had to be cut off, the heap is taken for lost: later
// entries go without names instead of waiting out the time limit again.
std::atomic<bool> g_symbolsLost{false};

// The thread writing an entry now, 0 when none.
std::atomic<uint32_t> g_writer{0};

// One entry's turn at the shared storage.
class crashLogTurnC {
public:
    crashLogTurnC() {
        const uint32_t self = platform::threadId();
        for (int waited = 0; waited <= kTurnWaitMilliseconds; waited += kTurnPollMilliseconds) {
            uint32_t expected = 0;
            if (g_writer.compare_exchange_strong(expected, self, std::memory_order_acquire)) {
                owned_ = true;
                return;
            }
            // A fault while this thread writes an entry: the entry it was
            // writing is all there will be.
            if (expected == self)
                return;
            platform::sleepMilliseconds(kTurnPollMilliseconds);
        }
    }
    ~crashLogTurnC() {
        if (owned_)
            g_writer.store(0, std::memory_order_release);
    }
    crashLogTurnC(const crashLogTurnC&) = delete;
    crashLogTurnC& operator=(const crashLogTurnC&) = delete;
    bool owned() const { return owned_; }

private:
    bool owned_ = false;
};

const char* logDirectory() {
    for (const char* variable : {"tmp", "temp"}) {
        const char* value = platform::getEnv(variable);
        if (value && value[0] != '\0')
            return value;
    }
    return platform::defaultTempDirectory();
}

// False when the path does not fit: better no entry than one in a file of
// another name.
bool buildLogPath(fixedTextC& path) {
    const char* directory = logDirectory();
    path.append(directory).append("/").append(kLogName);
    return path.length() == strlen(directory) + 1 + strlen(kLogName);
}

void formatFirstLine(const platform::CrashInfo* info, fixedTextC& line) {
    if (!info) {
        line.append("Location Unknown\n");
        return;
    }
    line.append("Location ")
        .appendHex(info->address & 0xffffffffu)
        .append(", Code ")
        .appendHex(info->code)
        .append(" SEQ:");
    appendCodeBytes(info->address, line);
    line.append("\n");
}

// The frame lines of one entry, written as they are resolved.
struct frameWriteS {
    const char* path;
    const uint64_t* stack;
    int entries;
    uint64_t exactPc;
    volatile int next;  // read again after the time limit cut the work off
};

// Each line reaches the file on its own: whatever happens while the next
// one is resolved, the lines before it are kept.
bool writeLine(const char* path, const fixedTextC& line) {
    return platform::appendToFile(path, line.text(), line.length());
}

void writeResolvedFrames(void* context) {
    auto& work = *static_cast<frameWriteS*>(context);
    fixedTextC line(g_storage.line, sizeof g_storage.line);
    while (work.next < work.entries) {
        const uint64_t address = work.stack[work.next];
        if (resolveFrameLine(address, address == work.exactPc, g_storage.frame, line))
            writeLine(work.path, line);
        work.next = work.next + 1;
    }
}

// The frames the symboliser did not get to keep their addresses and code
// bytes, which a debugger can still resolve later.
void writeBareFrames(frameWriteS& work) {
    static const platform::FrameInfo kUnknown{};
    fixedTextC line(g_storage.line, sizeof g_storage.line);
    while (work.next < work.entries) {
        formatFrameLine(work.stack[work.next], kUnknown, line);
        writeLine(work.path, line);
        work.next = work.next + 1;
    }
}

}  // namespace

// Why the symboliser runs inside the signal handler at all: the names are
// the point of the log, and the process is about to end anyway. What keeps
// that sound: the crash handler loads the symboliser when it installs itself,
// so no library is loaded here; resolving runs on a stack of its own and
// under a time limit (platform::runGuarded); the first line reaches the file before
// any symbol is resolved, so even a fault inside the symboliser leaves the
// location behind. Everything else is signal-safe: formatting by hand into
// static storage, the file reached with platform::appendToFile.
void writeCrashLog(const platform::CrashInfo* info, const uint64_t* stack) {
    crashLogTurnC turn;
    if (!turn.owned())
        return;
    fixedTextC firstLine(g_storage.firstLine, sizeof g_storage.firstLine);
    formatFirstLine(info, firstLine);
    fixedTextC path(g_storage.path, sizeof g_storage.path);
    if (!buildLogPath(path))
        return;
    if (!writeLine(path.text(), firstLine))
        return;

    frameWriteS work{path.text(), stack, capturedEntries(stack), info ? info->address : 0, 0};
    if (work.entries > 0 && debugHelpReady() && !g_symbolsLost.load(std::memory_order_acquire) &&
        !platform::runGuarded(writeResolvedFrames, &work, kCrashSymbolSeconds)) {
        g_symbolsLost.store(true, std::memory_order_release);
    }
    if (g_symbolsLost.load(std::memory_order_acquire))
        writeBareFrames(work);
}
