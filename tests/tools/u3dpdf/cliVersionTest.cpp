// u3dpdf --version: the package's version and commit, then the module it
// loads and that module's capability VERSION.
#include "cliRunner.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

const std::string kFirstLine = "u3dpdf " U3DPDF_PROJECT_VERSION " \\(commit ([0-9a-f]{12}|unknown)\\)\n";

TEST(CliVersionTest, NamesTheVersionTheCommitAndTheLoadedModule) {
    const cliResultS found = runCli({"--version"});
    EXPECT_EQ(found.status, 0) << found.err;
    EXPECT_EQ(found.err, "");
    // Without --module: the build tree's module, found as the help says.
    const std::string module = std::filesystem::weakly_canonical(U3DPDF_MODULE_PATH).string();
    EXPECT_TRUE(std::regex_match(found.out, std::regex(kFirstLine + "module (.*): capability VERSION V1\\.0\n")))
        << found.out;
    EXPECT_NE(found.out.find(module + ": capability"), std::string::npos) << found.out;

    const cliResultS named = runCli({"--version", "--module", U3DPDF_MODULE_PATH});
    EXPECT_EQ(named.status, 0);
    EXPECT_NE(named.out.find("\nmodule " U3DPDF_MODULE_PATH ": capability VERSION V1.0\n"), std::string::npos)
        << named.out;
}

TEST(CliVersionTest, SaysWhatItIsEvenWhenTheModuleCannotBeLoaded) {
    const cliResultS run = runCli({"--version", "--module", U3DPDF_NOT_A_MODULE});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(std::regex_match(run.out, std::regex(kFirstLine))) << run.out;
    EXPECT_TRUE(oneErrorLine(run.err)) << run.err;

    const cliResultS extra = runCli({"--version", "extra"});
    EXPECT_EQ(extra.status, 2);
    EXPECT_EQ(extra.out, "");
    EXPECT_EQ(extra.err, "u3dpdf: unexpected argument extra (see u3dpdf --version --help)\n");

    const cliResultS help = runCli({"--version", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: u3dpdf --version ", 0), 0u) << help.out;
}

}  // namespace
