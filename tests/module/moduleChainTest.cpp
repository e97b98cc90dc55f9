// The manager chain between real copies of the module (libu3dpdf.so,
// u3dpdf.dll): each copy carries its own record, and copies loaded into one
// process find each other through that process's environment. The chain is
// process state, so every case runs in a host process of its own
// (module_chain_host).
#include "integration/moduleHost.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using stateS = std::map<std::string, std::string>;  // the fields of one printed line

// Three copies of the module under different file names ("libu3dpdf_a.so",
// "u3dpdf_a.dll"), each a module of its own to the dynamic loader.
struct threeCopiesS {
    threeCopiesS() : dir("chain") {
        for (char copy : {'a', 'b', 'c'})
            fs::copy_file(U3DPDF_MODULE_PATH, dir / name(copy).c_str());
    }
    std::string load(char copy) const { return "+" + path(copy); }
    std::string unload(char copy) const { return "-" + path(copy); }
    std::string path(char copy) const { return (dir / name(copy).c_str()).string(); }
    static std::string name(char copy) {
        const fs::path module(U3DPDF_MODULE_PATH);
        return module.stem().string() + "_" + copy + module.extension().string();
    }
    scratchDirS dir;
};

// Runs the steps in a host of its own; its memory reports go to the output
// function the host passes, not to a report file.
std::vector<stateS> runSteps(const std::vector<std::string>& steps) {
    const commandResultS run =
        runProgram(MODULE_CHAIN_HOST, steps, {{"QVMEMTRACK_OUTPUT", std::nullopt}});
    EXPECT_EQ(run.status, 0) << testing::PrintToString(steps);
    std::vector<stateS> states;
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')  // a Windows console's line end
            line.pop_back();
        stateS state;
        std::istringstream fields(line);
        for (std::string field; fields >> field;) {
            const size_t equals = field.find('=');
            state[field.substr(0, equals)] = equals == std::string::npos ? "" : field.substr(equals + 1);
        }
        states.push_back(state);
    }
    return states;
}

// "a,c,b" for the copies a, c and b.
std::string names(const std::string& copies) {
    std::string text;
    for (char copy : copies)
        text += (text.empty() ? "" : ",") + threeCopiesS::name(copy);
    return text;
}

std::string record(char head, char next) {
    const auto link = [](char copy) { return copy == '0' ? std::string("null") : threeCopiesS::name(copy); };
    return "head:" + link(head) + ",next:" + link(next);
}

// "QVDYNMGRV8_<key>:<copy>": the variable of this process naming the copy.
std::string variableNaming(const std::string& vars, char copy) {
    std::smatch match;
    const std::regex format("(QVDYNMGRV8_[0-9]+):" + threeCopiesS::name(copy));
    return std::regex_search(vars, match, format) ? match[1].str() : "";
}

TEST(ModuleChainTest, ThirdCopyLinksBehindTheFirstAndAnUnloadedOneLeavesTheRestLinked) {
    const threeCopiesS copies;
    std::vector<stateS> s = runSteps(
        {copies.load('a'), copies.load('b'), copies.load('c'), copies.unload('b')});
    ASSERT_EQ(s.size(), 4u);
    const std::string name = variableNaming(s[0]["vars"], 'a');
    ASSERT_NE(name, "") << s[0]["vars"];
    for (const stateS& state : s)
        EXPECT_EQ(state.at("vars"), name + ":" + threeCopiesS::name('a'));

    EXPECT_EQ(s[0]["chain"], names("a"));
    EXPECT_EQ(s[0][threeCopiesS::name('a')], record('a', '0'));

    EXPECT_EQ(s[1]["chain"], names("ab"));
    EXPECT_EQ(s[1][threeCopiesS::name('b')], record('a', '0'));

    // Each copy goes directly behind the head, ahead of the earlier ones.
    EXPECT_EQ(s[2]["chain"], names("acb"));
    EXPECT_EQ(s[2][threeCopiesS::name('a')], record('a', 'c'));
    EXPECT_EQ(s[2][threeCopiesS::name('b')], record('a', '0'));
    EXPECT_EQ(s[2][threeCopiesS::name('c')], record('a', 'b'));

    EXPECT_EQ(s[3]["chain"], names("ac"));
    EXPECT_EQ(s[3][threeCopiesS::name('a')], record('a', 'c'));
    EXPECT_EQ(s[3][threeCopiesS::name('c')], record('a', '0'));
    EXPECT_EQ(s[3].count(threeCopiesS::name('b')), 0u);
}

TEST(ModuleChainTest, UnloadingTheHeadUnchainsEveryCopyAndAFreshLoadStartsAnew) {
    const threeCopiesS copies;
    std::vector<stateS> s =
        runSteps({copies.load('a'), copies.load('b'), copies.load('c'), copies.unload('a'),
                  copies.unload('c'), copies.load('a'), copies.unload('b')});
    ASSERT_EQ(s.size(), 7u);
    EXPECT_EQ(s[2]["chain"], names("acb"));

    EXPECT_EQ(s[3]["vars"], "none");
    EXPECT_EQ(s[3]["chain"], "none");
    EXPECT_EQ(s[3][threeCopiesS::name('b')].substr(0, 10), "head:null,");
    EXPECT_EQ(s[3][threeCopiesS::name('c')].substr(0, 10), "head:null,");

    // An unchained copy unloads without touching anything.
    EXPECT_EQ(s[4]["vars"], "none");
    EXPECT_EQ(s[4][threeCopiesS::name('b')], record('0', '0'));

    // Loaded again, the first copy publishes a chain of its own, which the
    // left-over unchained copy does not join or disturb when it unloads.
    const std::string name = variableNaming(s[5]["vars"], 'a');
    EXPECT_NE(name, "") << s[5]["vars"];
    EXPECT_EQ(s[5]["chain"], names("a"));
    EXPECT_EQ(s[5][threeCopiesS::name('a')], record('a', '0'));
    EXPECT_EQ(s[6]["vars"], name + ":" + threeCopiesS::name('a'));
    EXPECT_EQ(s[6]["chain"], names("a"));
}

TEST(ModuleChainTest, AChildProcessStartsAChainUnderItsOwnVariable) {
    const threeCopiesS copies;
    std::vector<stateS> s = runSteps({copies.load('a'), "child", copies.load('b')});
    ASSERT_EQ(s.size(), 2u);
    EXPECT_NE(s[0]["pid"], s[1]["pid"]);
    const std::string parentName = variableNaming(s[0]["vars"], 'a');
    const std::string childName = variableNaming(s[1]["vars"], 'b');
    ASSERT_NE(parentName, "");
    ASSERT_NE(childName, "");
    EXPECT_NE(parentName, childName);
    // The child inherited the parent's variable but did not follow it.
    EXPECT_NE(s[1]["vars"].find(parentName + ":other"), std::string::npos) << s[1]["vars"];
    EXPECT_EQ(s[1]["chain"], names("b"));
    EXPECT_EQ(s[1][threeCopiesS::name('b')], record('b', '0'));
}

TEST(ModuleChainTest, EveryChainedCopyAnswersTheMemoryCheckOfACleanProcess) {
    const threeCopiesS copies;
    const fs::path report = copies.dir / "check.txt";
    std::vector<stateS> s =
        runSteps({copies.load('a'), copies.load('b'), "check:" + report.string()});
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[2]["chain"], names("ab"));
    // Each copy's header names that copy: the call went into its own code.
    // A clean process has sound pools and process heaps, so the headers are
    // all there is; in particular, no "Invalid Win32 Heap" line.
    const std::string pid = s[2]["pid"];
    EXPECT_EQ(readFile(report),
              "QVMEMTRACK Memory Check (Pid=" + pid + "," + threeCopiesS::name('a') + ")\n" +
                  "QVMEMTRACK Memory Check (Pid=" + pid + "," + threeCopiesS::name('b') + ")\n");
}

#if defined(_WIN32)
TEST(ModuleChainTest, TheMemoryCheckReportsADamagedWin32HeapBlock) {
    const threeCopiesS copies;
    const fs::path report = copies.dir / "check.txt";
    std::vector<stateS> s = runSteps(
        {copies.load('a'), copies.load('b'), "break-heap", "check:" + report.string()});
    ASSERT_EQ(s.size(), 4u);
    const std::string broken = s[2]["broken"];
    ASSERT_EQ(broken.size(), 16u);
    // Each copy walks the same heaps and finds the same block, after its
    // own (sound) pools.
    const std::string pid = s[3]["pid"];
    std::string expected;
    for (char copy : {'a', 'b'})
        expected += "QVMEMTRACK Memory Check (Pid=" + pid + "," + threeCopiesS::name(copy) +
                    ")\nInvalid Win32 Heap Block " + broken + "\n";
    EXPECT_EQ(readFile(report), expected);
}
#endif

}  // namespace
