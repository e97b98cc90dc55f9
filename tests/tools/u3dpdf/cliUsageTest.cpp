// Command lines u3dpdf refuses, modules it cannot use, and its help.
#include "cliRunner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CliUsageTest, BadCommandLinesExitTwoWithOneLine) {
    const std::vector<std::string> refused[] = {
        {},
        {"export"},
        {"convert", "m.u3d"},
        {"convert", "-o", "out.pdf"},
        {"convert", "m.u3d", "-o"},
        {"convert", "m.u3d", "-o", "a.pdf", "-o", "b.pdf"},
        {"convert", "m.u3d", "n.u3d", "-o", "out.pdf"},
        {"convert", "m.u3d", "-o", "out.pdf", "--bbox", "0", "0", "0", "1", "1"},
        {"convert", "m.u3d", "-o", "out.pdf", "--bbox", "0", "0", "0", "1", "1", "x"},
        {"convert", "m.u3d", "-o", "out.pdf", "--bbox", "0", "0", "0", "1", "1", "inf"},
        // The unit box that stands in for a missing --bbox has no centre
        // worth aiming at.
        {"convert", "m.u3d", "-o", "out.pdf", "--center"},
        {"request"},
        {"request", "r.txt", "--pretty"},
        {"caps", "extra"},
        {"caps", "--module"},
        {"tree"},
        {"tree", "t.txt", "--compact"},
        {"info"},
        {"info", "a.u3d", "b.u3d"},
        {"info", "a.u3d", "--pretty"},
        {"formats", "stl"},
    };
    for (const std::vector<std::string>& args : refused) {
        const cliResultS run = runCli(args);
        EXPECT_EQ(run.status, 2) << (args.empty() ? "" : args[0]);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(oneErrorLine(run.err)) << run.err;
    }
}

TEST(CliUsageTest, ModulesThatCannotServeExitTwoWithOneLine) {
    scratchDirS dir("badmodule");
    writeFile(dir / "fake.so", "not a library");
    const std::string modules[] = {
        (dir / "absent.so").string(),
        (dir / "fake.so").string(),
        U3DPDF_NOT_A_MODULE,  // a library with getCaps but no convertMetaTree
    };
    for (const std::string& module : modules) {
        const cliResultS run = runCli({"caps", "--module", module});
        EXPECT_EQ(run.status, 2) << module;
        EXPECT_TRUE(oneErrorLine(run.err)) << run.err;
    }
    EXPECT_EQ(runCli({"caps", "--module", U3DPDF_NOT_A_MODULE}).err,
              std::string("u3dpdf: ") + U3DPDF_NOT_A_MODULE +
                  " is not a u3dpdf module: it does not export convertMetaTree\n");
}

TEST(CliUsageTest, HelpIsThereForTheProgramAndEveryCommand) {
    const cliResultS program = runCli({"--help"});
    EXPECT_EQ(program.status, 0);
    EXPECT_EQ(program.err, "");
    for (const char* command : {"convert", "request", "caps", "tree", "info", "formats"}) {
        EXPECT_NE(program.out.find(std::string("\n  ") + command + " "), std::string::npos) << command;
        // Help wins over the mistakes on the same line.
        const cliResultS help = runCli({command, "--bogus", "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.err, "");
        EXPECT_EQ(help.out.rfind(std::string("Usage: u3dpdf ") + command + " ", 0), 0u) << help.out;
    }
}

}  // namespace
