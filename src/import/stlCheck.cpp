// STL: ASCII, or binary of exactly the size its triangle count gives.
#include "import/fileCheckParts.h"
#include "import/importError.h"

#include <cstring>

namespace meshimport {

// The loader takes a file for binary when its size is exactly what the
// triangle count in its header needs, and else for ASCII when it begins
// with "solid".
void checkStl(const std::string& head, std::size_t size) {
    uint32_t triangles = 0;
    if (size >= 84) {
        std::memcpy(&triangles, head.data() + 80, sizeof triangles);
        if (84 + 50 * uint64_t(triangles) == size)
            return;
    }
    const std::size_t text = head.find_first_not_of(" \t\r\n\f\v");
    if (text != std::string::npos && head.compare(text, 5, "solid") == 0)
        return;
    if (size < 84)
        throw importError("not an ASCII STL (it does not begin with \"solid\") and too short for a binary STL (" +
                          std::to_string(size) + " bytes, the header alone takes 84)");
    throw importError("not an ASCII STL (it does not begin with \"solid\"), and as a binary STL its " +
                      std::to_string(triangles) + " triangles need " + std::to_string(84 + 50 * uint64_t(triangles)) +
                      " bytes, but the file has " + std::to_string(size));
}

}  // namespace meshimport
