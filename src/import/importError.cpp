#include "import/importError.h"

namespace meshimport {

namespace {

// Control characters as single spaces, no space at either end, and at most
// a few hundred characters (a loader may quote a whole line of the file).
std::string oneLine(const std::string& message) {
    constexpr std::size_t kMaxLength = 400;
    std::string out;
    for (char c : message) {
        const bool space = static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == ' ';
        if (!space)
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    if (out.size() > kMaxLength)
        out = out.substr(0, kMaxLength) + "...";
    return out;
}

}  // namespace

importError::importError(const std::string& message) : std::runtime_error(oneLine(message)) {}

}  // namespace meshimport
