#include "cliArgs.h"

#include "cliExit.h"

namespace {

const cliOptionS* findOption(std::span<const cliOptionS> options, const std::string& word) {
    for (const cliOptionS& option : options)
        if (word == option.name || (option.shortName && word == option.shortName))
            return &option;
    return nullptr;
}

bool isHelp(const std::string& word) { return word == "--help" || word == "-h"; }

}  // namespace

cliArgsC::cliArgsC(const std::string& command, std::span<const cliOptionS> options,
                   const std::vector<std::string>& args)
    : command_(command) {
    // Help wins over every other mistake on the line: whoever asks for it
    // is usually in the middle of getting the line right.
    for (const std::string& word : args) {
        if (word == "--")
            break;
        if (isHelp(word)) {
            help_ = true;
            return;
        }
    }
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        // A lone "-" is an operand by custom (it names no file here, but
        // that is for the command to say).
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            operands_.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        const cliOptionS* option = findOption(options, word);
        if (!option)
            usageError(command_, "unknown option " + word);
        if (has(option->name))
            usageError(command_, word + " given twice");
        if (args.size() - i - 1 < static_cast<size_t>(option->valueCount))
            usageError(command_, word + " needs " + std::to_string(option->valueCount) +
                                     (option->valueCount == 1 ? " value" : " values"));
        std::vector<std::string>& values = values_[option->name];
        // Values are taken as they come, so "--bbox -4 -4 -1 4 4 1" reads
        // its negative numbers as values, not as options.
        for (int v = 0; v < option->valueCount; ++v)
            values.push_back(args[++i]);
    }
}

const std::vector<std::string>& cliArgsC::values(const char* name) const {
    static const std::vector<std::string> none;
    const auto found = values_.find(name);
    return found == values_.end() ? none : found->second;
}

std::string cliArgsC::value(const char* name, const std::string& fallback) const {
    const std::vector<std::string>& given = values(name);
    return given.empty() ? fallback : given.front();
}

const std::vector<std::string>& cliArgsC::operands(size_t count, const char* what) const {
    if (operands_.size() < count)
        usageError(command_, std::string("missing ") + what);
    if (operands_.size() > count)
        usageError(command_, "unexpected argument " + operands_[count]);
    return operands_;
}

const std::vector<std::string>& cliArgsC::someOperands(const char* what) const {
    if (operands_.empty())
        usageError(command_, std::string("missing ") + what);
    return operands_;
}
