// A test case that controls the environment variables that the code under
// test reads and gives it a directory of its own to write into.
#pragma once

#include "testFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Before each case the listed variables are removed and dirVariable names a
// fresh, empty directory; the case may change these variables as it likes.
// After it each of them is back as it was and the directory is gone.
class scratchEnvironmentTest : public testing::Test {
protected:
    scratchEnvironmentTest(std::vector<std::string> variables, std::string dirVariable);

    void SetUp() override;
    void TearDown() override;

    // The case's directory, without a trailing separator.
    std::string dir_;

private:
    std::vector<std::string> variables_;
    const std::string dirVariable_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
    std::unique_ptr<scratchDirS> scratch_;
};
