// Names within one of U3D's name spaces (nodes, geometry resources,
// materials, shaders). The format finds nodes and resources by name, so two
// of one kind must never share one, and the empty node name is the world.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace meshimport {

class uniqueNamesC {
public:
    // The wanted name (the fallback when it is empty) if it is free, else
    // the first free of "name_2", "name_3", ...
    std::string take(const std::string& wanted, const std::string& fallback);

private:
    std::unordered_set<std::string> taken_;
    // Per name asked for twice, the suffix to try next: a file with a
    // hundred thousand nodes of one name costs no more than one with unique
    // names.
    std::unordered_map<std::string, unsigned> nextSuffix_;
};

}  // namespace meshimport
