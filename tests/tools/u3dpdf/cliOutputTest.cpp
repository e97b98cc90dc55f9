// Where u3dpdf convert writes (-o FILE, -o DIR, -o -), how the model reaches
// the module when it comes through a pipe, and the progress line on a
// terminal.
#include "cliChild.h"
#include "cliRunner.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kTorusBox = {"--bbox", "-4", "-4", "-1", "4", "4", "1"};

std::vector<std::string> convertArgs(const fs::path& model, const std::string& output,
                                     const std::vector<std::string>& more = {}) {
    std::vector<std::string> args = {"convert", model.string(), "-o", output};
    args.insert(args.end(), kTorusBox.begin(), kTorusBox.end());
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(CliOutputTest, DashWritesTheSamePdfToStandardOutputAndADirectoryGetsTheModelsName) {
    scratchDirS dir("output");
    fs::create_directory(dir / "tmp");
    fs::create_directory(dir / "pdfs");
    const fs::path model = dir / "torus.u3d";
    fs::copy_file(testData("torus.u3d"), model);

    ASSERT_EQ(runCliWith({convertArgs(model, (dir / "file.pdf").string()), {}, dir / "tmp", {}}).status, 0);
    const cliResultS piped = runCliWith({convertArgs(model, "-"), {}, dir / "tmp", {}});
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.err, "");
    writeFile(dir / "piped.pdf", piped.out);
    EXPECT_TRUE(qpdfAccepts(dir / "piped.pdf"));
    EXPECT_TRUE(piped.out == readFile(dir / "file.pdf"));
    // The module's file in the temporary directory is gone.
    EXPECT_EQ(directoryListing(dir / "tmp"), "");

    // An existing directory gets DIR/NAME.pdf; with a trailing separator too.
    for (const std::string& pdfs : {(dir / "pdfs").string(), (dir / "pdfs").string() + "/"}) {
        SCOPED_TRACE(pdfs);
        const cliResultS run = runCliWith({convertArgs(model, pdfs), {}, dir / "tmp", {}});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out + run.err, "");
        EXPECT_EQ(directoryListing(dir / "pdfs"), "torus.pdf");
        EXPECT_TRUE(readFile(dir / "pdfs" / "torus.pdf") == readFile(dir / "file.pdf"));
        fs::remove(dir / "pdfs" / "torus.pdf");
    }
    // The model's own directory: DIR/torus.pdf beside torus.u3d.
    EXPECT_EQ(runCliWith({convertArgs("torus.u3d", "."), dir.path, dir / "tmp", {}}).status, 0);
    EXPECT_TRUE(readFile(dir / "torus.pdf") == readFile(dir / "file.pdf"));

    // A failure names standard output, and leaves nothing behind.
    const cliResultS failed =
        runCliWith({{"convert", model.string(), "-o", "-", "--bbox", "0", "0", "0", "20000", "0", "0"},
                    {},
                    dir / "tmp",
                    {}});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(failed.err.rfind("u3dpdf: the module could not convert " + model.string() +
                                   " to standard output: the bounding box is too large",
                               0),
              0u)
        << failed.err;
    EXPECT_EQ(directoryListing(dir / "tmp"), "");
    EXPECT_TRUE(readFile(model) == readFile(testData("torus.u3d")));
}

TEST(CliOutputTest, DashIsRefusedWhenStandardOutputIsATerminal) {
    scratchDirS dir("outputterminal");
    fs::create_directory(dir / "tmp");
    fs::copy_file(testData("torus.u3d"), dir / "torus.u3d");
    cliChildC child({convertArgs(dir / "torus.u3d", "-"), dir / "tmp", "/dev/null", {}, dir / "err.txt"});
    const int status = child.wait();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
    EXPECT_EQ(readFile(dir / "err.txt"),
              "u3dpdf: standard output is a terminal: redirect it, or name a file with -o (see u3dpdf convert "
              "--help)\n");
    EXPECT_EQ(child.terminal(), "");
    EXPECT_EQ(directoryListing(dir / "tmp"), "");
    EXPECT_EQ(directoryListing(dir.path), "err.txt tmp torus.u3d");
}

// Writes bytes into the named pipe at path from a thread of its own, as
// another program would.
struct pipeWriterS {
    pipeWriterS(const fs::path& path, std::string bytes)
        : thread([path, bytes = std::move(bytes)] { writeFile(path, bytes); }) {}
    ~pipeWriterS() { thread.join(); }
    std::thread thread;
};

TEST(CliOutputTest, AModelThroughAPipeIsCopiedAndTheCopyIsGone) {
    scratchDirS dir("outputpipe");
    fs::create_directory(dir / "tmp");
    const fs::path pipe = dir / "torus.u3d";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    cliResultS run;
    {
        const pipeWriterS writer(pipe, readFile(testData("torus.u3d")));
        run = runCliWith({convertArgs(pipe, (dir / "out.pdf").string()), {}, dir / "tmp", {}});
    }
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    ASSERT_TRUE(qpdfAccepts(dir / "out.pdf"));
    EXPECT_TRUE(embeddedModel(dir / "out.pdf") == readFile(testData("torus.u3d")));
    EXPECT_EQ(directoryListing(dir / "tmp"), "");
}

// The terminal's bytes as the lines drawn over each other, each after a
// carriage return.
std::vector<std::string> drawnLines(const std::string& terminal) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < terminal.size();) {
        const size_t end = terminal.find('\r', start + 1);
        lines.push_back(terminal.substr(start + 1, end - start - 1));
        start = end;
    }
    return lines;
}

// Every line is one of the steps in turn, each possibly drawn again with
// its progress, followed by blanks that cover a longer line before; at the
// end blanks cover the longest and the cursor returns to where it started:
// the terminal is left as it was.
void expectSteps(const std::string& terminal, const std::vector<std::string>& steps, size_t columns) {
    ASSERT_TRUE(terminal.size() > 2 && terminal.front() == '\r' && terminal.back() == '\r') << terminal;
    std::vector<std::string> lines = drawnLines(terminal.substr(0, terminal.size() - 1));
    ASSERT_GE(lines.size(), steps.size() + 1) << terminal;
    const std::string blanks = lines.back();
    lines.pop_back();
    size_t next = 0, longest = 0;
    for (std::string line : lines) {
        EXPECT_LT(line.size(), columns) << line;
        longest = std::max(longest, line.size());
        line.erase(line.find_last_not_of(' ') + 1);
        if (next < steps.size() && std::regex_match(line, std::regex(steps[next])))
            ++next;
        else
            EXPECT_TRUE(next > 0 && std::regex_match(line, std::regex(steps[next - 1]))) << line;
    }
    EXPECT_EQ(next, steps.size()) << terminal;
    EXPECT_EQ(blanks, std::string(longest, ' '));
}

TEST(CliOutputTest, ATerminalShowsEachStepUnlessQuiet) {
    scratchDirS dir("progress");
    fs::create_directory(dir / "tmp");
    fs::copy_file(testData("torus.u3d"), dir / "torus.u3d");
    const auto converted = [&](cliChildC& child) {
        const int status = child.wait();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_TRUE(qpdfAccepts(dir / "out.pdf"));
        fs::remove(dir / "out.pdf");
    };
    const std::string seconds = "( \\([0-9]+ s\\))?";
    {
        cliChildC child({convertArgs(dir / "torus.u3d", (dir / "out.pdf").string()), dir / "tmp", "/dev/null",
                         dir / "out.txt", {}});
        converted(child);
        expectSteps(child.terminal(), {"torus\\.u3d: converting" + seconds}, 80);
    }
    {
        // The model through a pipe is copied first; the name is cut to fit
        // a narrow terminal.
        const fs::path pipe = dir / "a-model-with-a-rather-long-name.u3d";
        ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
        const pipeWriterS writer(pipe, readFile(testData("torus.u3d")));
        cliChildC child({convertArgs(pipe, (dir / "out.pdf").string()), dir / "tmp", "/dev/null", dir / "out.txt",
                         {}, 41});
        converted(child);
        expectSteps(child.terminal(),
                    {"a-model-with-a-rather-long-name\\.u3d: cop", "a-model-with-a-rather-long-name\\.u3d: con"}, 41);
    }
    {
        cliChildC child({convertArgs(dir / "torus.u3d", (dir / "out.pdf").string(), {"--quiet"}), dir / "tmp",
                         "/dev/null", dir / "out.txt", {}});
        converted(child);
        EXPECT_EQ(child.terminal(), "");
    }
    EXPECT_EQ(directoryListing(dir / "tmp"), "");
}

}  // namespace
