#include "scratchEnvironment.h"

#include "runtime/platform/platform.h"

#include <algorithm>

scratchEnvironmentTest::scratchEnvironmentTest(std::vector<std::string> variables, std::string dirVariable)
    : variables_(std::move(variables)), dirVariable_(std::move(dirVariable)) {
    if (std::find(variables_.begin(), variables_.end(), dirVariable_) == variables_.end())
        variables_.push_back(dirVariable_);
}

void scratchEnvironmentTest::SetUp() {
    for (const std::string& name : variables_) {
        const char* value = platform::getEnv(name.c_str());
        saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        platform::setEnv(name.c_str(), nullptr);
    }
    scratch_ = std::make_unique<scratchDirS>("env");
    dir_ = scratch_->path.string();
    platform::setEnv(dirVariable_.c_str(), dir_.c_str());
}

void scratchEnvironmentTest::TearDown() {
    scratch_.reset();
    for (const auto& [name, value] : saved_)
        platform::setEnv(name.c_str(), value ? value->c_str() : nullptr);
    saved_.clear();
}
