// The arguments of one command: options in any order among the operands,
// each option with a fixed number of values ("--bbox" takes six), "--"
// ending the options, and "--help" (or "-h") wherever it stands.
#pragma once

#include <map>
#include <span>
#include <string>
#include <vector>

struct cliOptionS {
    const char* name;       // "--bbox"
    const char* shortName;  // "-o", or null
    int valueCount;         // 0 for a flag
};

class cliArgsC {
public:
    // Scans args (the words after the command); an unknown option, a
    // repeated one or one short of values is a usage error of the command.
    cliArgsC(const std::string& command, std::span<const cliOptionS> options,
             const std::vector<std::string>& args);

    bool helpAsked() const { return help_; }
    bool has(const char* name) const { return values_.count(name) != 0; }
    // The values given with the option (empty when it was not given).
    const std::vector<std::string>& values(const char* name) const;
    // The single value of a one-value option, or the fallback.
    std::string value(const char* name, const std::string& fallback = {}) const;
    // The operands; a usage error unless there are exactly `count`, which
    // `what` names ("MODEL.u3d").
    const std::vector<std::string>& operands(size_t count, const char* what) const;
    // The operands; a usage error when there are none.
    const std::vector<std::string>& someOperands(const char* what) const;

private:
    std::string command_;
    bool help_ = false;
    std::map<std::string, std::vector<std::string>> values_;
    std::vector<std::string> operands_;
};
