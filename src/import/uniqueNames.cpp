#include "import/uniqueNames.h"

namespace meshimport {

std::string uniqueNamesC::take(const std::string& wanted, const std::string& fallback) {
    const std::string& base = wanted.empty() ? fallback : wanted;
    if (taken_.insert(base).second)
        return base;
    unsigned& next = nextSuffix_.try_emplace(base, 2).first->second;
    std::string name;
    do
        name = base + "_" + std::to_string(next++);
    while (!taken_.insert(name).second);
    return name;
}

}  // namespace meshimport
