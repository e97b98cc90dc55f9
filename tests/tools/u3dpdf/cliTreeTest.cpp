// u3dpdf tree: files through the meta tree's readers and writer and back.
#include "cliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// The text written for the file, without the final line feed; the run must
// succeed.
std::string treeOf(const fs::path& file, const char* option = nullptr, const char* second = nullptr) {
    std::vector<std::string> args = {"tree", file};
    for (const char* o : {option, second})
        if (o)
            args.push_back(o);
    const cliResultS run = runCli(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.empty() ? '?' : run.out.back(), '\n');
    return run.out.substr(0, run.out.size() - 1);
}

TEST(CliTreeTest, BracedFilesRoundTripCompactAndPretty) {
    scratchDirS dir("tree");
    writeFile(dir / "in.txt", "A{ B{1} }\nC{2, \"line\\nquote\\\" back\\\\\"}\nD{-0.5,1e20,0.1}");
    const std::string compact = "A{B{1}}C{2,\"line\\nquote\\\" back\\\\\"}D{-0.5,1e+20,0.1}";
    EXPECT_EQ(treeOf(dir / "in.txt"), compact);

    const std::string pretty = treeOf(dir / "in.txt", "--pretty");
    EXPECT_EQ(pretty, "A{\n\tB{\n\t\t1\n\t}\n}\nC{\n\t2,\"line\\nquote\\\" back\\\\\"\n}\nD{\n\t-0.5,1e+20,0.1\n}");
    writeFile(dir / "pretty.txt", pretty);
    EXPECT_EQ(treeOf(dir / "pretty.txt"), compact);
    writeFile(dir / "compact.txt", compact);
    EXPECT_EQ(treeOf(dir / "compact.txt"), compact);

    writeFile(dir / "empty.txt", "\n\t ");
    EXPECT_EQ(treeOf(dir / "empty.txt"), "");
}

TEST(CliTreeTest, IniFilesBecomeTheirTreeAndRoundTrip) {
    scratchDirS dir("treeini");
    writeFile(dir / "in.ini", "[ Main ]\r\nkey = value\n;comment=1\nname=a=b\n[Other]\nPath=x\n");
    // A node with children is followed by its sibling without a comma.
    const std::string compact = "INIFILE{FNAME{\"" + (dir / "in.ini").string() +
                                "\"}SECTIONS{SECTION{NAME{\"Main\"}ENTRIES{ENTRY{KEY{\"key\"}TEXT{\" value\"}}"
                                "ENTRY{KEY{\"name\"}TEXT{\"a=b\"}}}}"
                                "SECTION{NAME{\"Other\"}ENTRIES{ENTRY{KEY{\"Path\"}TEXT{\"x\"}}}}}}";
    EXPECT_EQ(treeOf(dir / "in.ini", "--ini"), compact);
    writeFile(dir / "pretty.txt", treeOf(dir / "in.ini", "--pretty", "--ini"));
    EXPECT_EQ(treeOf(dir / "pretty.txt"), compact);
}

TEST(CliTreeTest, FilesThatCannotBeReadExitTwo) {
    scratchDirS dir("treebad");
    writeFile(dir / "bad.txt", "A{\n\n{B}}");
    cliResultS run = runCli({"tree", dir / "bad.txt"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "u3dpdf: " + (dir / "bad.txt").string() + ": Line:3 - section without key found\n");
    run = runCli({"tree", dir / "absent.ini", "--ini"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "u3dpdf: cannot read " + (dir / "absent.ini").string() + "\n");
}

}  // namespace
