// u3dpdf convert MODEL... -d OUTDIR [-j N]: every model in a worker process
// of its own, one line per model in the order given, the failures of some
// leaving the others alone.
#include "cliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

TEST(CliBatchTest, EveryModelGetsItsLineInOrderAndFailuresLeaveTheOthersAlone) {
    scratchDirS dir("batch");
    fs::create_directory(dir / "in");
    std::vector<std::string> args{"convert"};
    for (const char* name : {"a", "b", "c", "d", "e"}) {
        fs::copy_file(testData(name[0] == 'c' ? "box.u3d" : "torus.u3d"), dir / "in" / (std::string(name) + ".u3d"));
        args.push_back("in/" + std::string(name) + ".u3d");
    }
    // Unreadable, and one whose PDF cannot be written (a folder is there).
    args.insert(args.begin() + 3, "in/missing.u3d");
    fs::create_directories(dir / "out" / "d.pdf");
    for (const char* word : {"-d", "out", "-j", "3", "--bbox", "-4", "-4", "-1", "4", "4", "1"})
        args.push_back(word);

    const cliResultS run = runCliWith({args, dir.path, {}, {}});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "");
    const std::string expected =
        "in/a.u3d -> out/a.pdf\n"
        "in/b.u3d -> out/b.pdf\n"
        "in/missing.u3d: failed: cannot read in/missing.u3d: No such file or directory\n"
        "in/c.u3d -> out/c.pdf\n";
    ASSERT_EQ(run.out.substr(0, expected.size()), expected);
    const std::string rest = run.out.substr(expected.size());
    EXPECT_EQ(rest.rfind("in/d.u3d: failed: ", 0), 0u) << rest;
    EXPECT_NE(rest.find("\nin/e.u3d -> out/e.pdf\n"), std::string::npos) << rest;
    EXPECT_EQ(directoryListing(dir / "out"), "a.pdf b.pdf c.pdf d.pdf e.pdf");
    for (const char* name : {"a", "b", "c", "e"}) {
        const fs::path pdf = dir / "out" / (std::string(name) + ".pdf");
        EXPECT_TRUE(qpdfAccepts(pdf)) << name;
        EXPECT_TRUE(embeddedModel(pdf) == readFile(dir / "in" / (std::string(name) + ".u3d"))) << name;
    }
    EXPECT_TRUE(fs::is_directory(dir / "out" / "d.pdf"));
}

TEST(CliBatchTest, OneWorkerByDefaultAMissingFolderIsMadeAndMisuseIsRefused) {
    scratchDirS dir("batchusage");
    fs::copy_file(testData("box.u3d"), dir / "one.u3d");
    fs::create_directory(dir / "sub");
    fs::copy_file(testData("box.u3d"), dir / "sub" / "one.u3d");

    const cliResultS ok = runCliWith({{"convert", "one.u3d", "-d", "new/folder"}, dir.path, {}, {}});
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, "one.u3d -> new/folder/one.pdf\n");
    EXPECT_TRUE(qpdfAccepts(dir / "new" / "folder" / "one.pdf"));

    const std::vector<std::string> refused[] = {
        {"convert", "one.u3d", "sub/one.u3d", "-d", "clash"},
        {"convert", "one.u3d", "-d", "x", "-o", "x.pdf"},
        {"convert", "one.u3d", "-o", "x.pdf", "-j", "2"},
        {"convert", "one.u3d", "-d", "x", "-j", "0"},
        {"convert", "one.u3d", "-d", "x", "-j", "two"},
        {"convert", "-d", "x"},
    };
    for (const auto& args : refused) {
        const cliResultS run = runCliWith({args, dir.path, {}, {}});
        EXPECT_EQ(run.status, 2) << args[2];
        EXPECT_TRUE(oneErrorLine(run.err)) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(directoryListing(dir.path), "new one.u3d sub");
}

}  // namespace
