// u3dpdf convert interrupted while it copies the model, while the module
// loads it and while the module writes the PDF, by SIGINT, SIGTERM and
// SIGKILL: afterwards the temporary directory and the output directory hold
// what they held before, an existing output file is untouched, and a signal
// the command can catch ends it by that same signal after one line.
#include "cliChild.h"
#include "cliRunner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

const int kSignals[] = {SIGINT, SIGTERM, SIGKILL};

void putU32(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

uint64_t getU64(const std::string& bytes, size_t at) {
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

void appendU32(std::string& bytes, uint32_t value) {
    bytes.append(4, '\0');
    putU32(bytes, bytes.size() - 4, value);
}

// A real U3D model made large: the torus, whose file header block gets one
// binary meta data entry of random bytes (incompressible, so that the module
// takes a while to load it and to write it). The header's declaration size
// and file size grow with the block.
std::string largeModel(size_t payload) {
    std::string u3d = readFile(testData("torus.u3d"));
    const uint32_t headerData = 24;  // the torus's header block: 24 data bytes, no meta data
    std::string meta;
    appendU32(meta, 1);  // one key/value pair
    appendU32(meta, 1);  // whose value is binary
    const std::string key = "padding";
    meta += static_cast<char>(key.size());
    meta += '\0';
    meta += key;
    appendU32(meta, static_cast<uint32_t>(payload));
    std::mt19937_64 random(363);
    for (size_t i = 0; i < payload; i += 8) {
        const uint64_t word = random();
        meta.append(reinterpret_cast<const char*>(&word), std::min<size_t>(8, payload - i));
    }
    const uint32_t metaSize = static_cast<uint32_t>(meta.size());
    meta.append((4 - meta.size() % 4) % 4, '\0');
    putU32(u3d, 8, metaSize);
    const size_t declarationSize = 12 + 8, fileSize = 12 + 12;
    putU32(u3d, declarationSize, static_cast<uint32_t>(getU64(u3d, declarationSize) & 0xffffffff) +
                                     static_cast<uint32_t>(meta.size()));
    const uint64_t grown = getU64(u3d, fileSize) + meta.size();
    for (int i = 0; i < 8; ++i)
        u3d[fileSize + i] = static_cast<char>(grown >> (8 * i));
    u3d.insert(12 + headerData, meta);
    return u3d;
}

// 8 MB: the module takes about half a second to load it and some tens of
// milliseconds to write the PDF, ten times and more what the child may run
// between two looks (cliChild.h), and each run takes about a second.
const std::string& model() {
    static const std::string bytes = largeModel(8 << 20);
    return bytes;
}

// Three directories: the work directory with the model and an earlier
// out.pdf, where the PDF goes; the child's TMPDIR; and one for what the
// child prints, whose open files would otherwise look like the child's work.
struct interruptRunS {
    scratchDirS work{"interrupt"};
    scratchDirS tmp{"interrupttmp"};
    scratchDirS logs{"interruptlogs"};
    fs::path model = work / "model.u3d";
    fs::path out = work / "out.pdf";
    std::string listing;  // the work directory before the run

    interruptRunS() { writeFile(out, "an earlier document"); }

    cliChildOptionsS options() const {
        return {{"convert", model.string(), "-o", out.string()}, tmp.path, "/dev/null", logs / "out.txt",
                logs / "err.txt"};
    }

    // What the child's end must show: its own signal, one line for those it
    // can catch, and nothing of its work left.
    void expectNothingLeft(cliChildC& child, int signal) const {
        const int status = child.wait();
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "wait status " << status;
        const std::string expected =
            signal == SIGKILL ? "" : "u3dpdf: interrupted by " + signalName(signal) + ", temporary files removed\n";
        EXPECT_EQ(readFile(logs / "err.txt"), expected);
        EXPECT_EQ(readFile(logs / "out.txt"), "");
        EXPECT_EQ(directoryListing(tmp.path), "");
        EXPECT_EQ(directoryListing(work.path), listing);
        EXPECT_EQ(readFile(out), "an earlier document");
    }
};

// Whether the child has a file open in dir other than the model.
bool holdsWorkIn(const cliChildC& child, const fs::path& dir, const fs::path& model) {
    for (const std::string& target : child.openFiles())
        if (target.rfind(dir.string() + "/", 0) == 0 && target != model.string())
            return true;
    return false;
}

// The model is fed through a pipe, which u3dpdf must copy: the test writes a
// part of it and holds back the rest, so the copy stands still half-way.
TEST(CliInterruptTest, WhileCopyingTheModel) {
    // A child that ends while the test writes must not end the test.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previous {};
    sigaction(SIGPIPE, &ignore, &previous);
    for (const int signal : kSignals) {
        SCOPED_TRACE(signalName(signal));
        interruptRunS run;
        ASSERT_EQ(mkfifo(run.model.c_str(), 0600), 0);
        run.listing = directoryListing(run.work.path);
        cliChildC child(run.options());
        // The write waits until the child has taken all but what the pipe
        // buffers.
        const int writer = child.openForWriting(run.model);
        ASSERT_GE(writer, 0) << "u3dpdf ended before it opened the model";
        const std::string part = model().substr(0, 1 << 20);
        EXPECT_EQ(write(writer, part.data(), part.size()), static_cast<ssize_t>(part.size()));
        ASSERT_TRUE(child.signalAt(signal, [&] { return holdsWorkIn(child, run.tmp.path, run.model); }))
            << "u3dpdf ended before it copied";
        run.expectNothingLeft(child, signal);
        close(writer);
    }
    sigaction(SIGPIPE, &previous, nullptr);
}

// Converts the large model, sends the signal at the moment, and checks
// what is left afterwards; the model is unchanged. On a loaded machine the
// test may wait for a core while the child runs on past a short moment (the
// module writes the PDF in tens of milliseconds): a conversion that ended
// before the moment was seen is run again, up to five times.
void interruptConversion(const std::function<bool(const cliChildC&, const interruptRunS&)>& moment,
                         const char* missed) {
    constexpr int kAttempts = 5;
    for (const int signal : kSignals) {
        SCOPED_TRACE(signalName(signal));
        bool caught = false;
        for (int attempt = 0; attempt < kAttempts && !caught; ++attempt) {
            interruptRunS run;
            writeFile(run.model, model());
            run.listing = directoryListing(run.work.path);
            cliChildC child(run.options());
            caught = child.signalAt(signal, [&] { return moment(child, run); });
            if (!caught)
                continue;
            run.expectNothingLeft(child, signal);
            EXPECT_TRUE(readFile(run.model) == model());
        }
        EXPECT_TRUE(caught) << "u3dpdf ended before " << missed << ", " << kAttempts << " times";
    }
}

TEST(CliInterruptTest, WhileTheModuleLoadsTheModel) {
    // u3dpdf holds the model open for the module's path to it; the module
    // opens it once more to read it.
    interruptConversion(
        [](const cliChildC& child, const interruptRunS& run) {
            int opened = 0;
            for (const std::string& target : child.openFiles())
                opened += target == run.model.string();
            return opened >= 2;
        },
        "the module loaded the model");
}

TEST(CliInterruptTest, WhileTheModuleWritesThePdf) {
    // The writer's file is open in the output directory and has no name
    // there yet. (The instant between naming the finished file and moving
    // it over the existing one is not this moment: there the document is
    // complete.)
    interruptConversion(
        [](const cliChildC& child, const interruptRunS& run) {
            return holdsWorkIn(child, run.work.path, run.model) && directoryListing(run.work.path) == run.listing;
        },
        "the module wrote the PDF");
}

}  // namespace
