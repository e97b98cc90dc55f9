// COLLADA: index lists of nothing but numbers, and data arrays that say how
// many values they hold. assimp's loader reads a <p> list until its end and
// never moves past a character that starts no number (one letter makes it
// add indices until memory runs out), and reads an array's count attribute
// without looking whether it is there.
#include "import/fileCheckParts.h"
#include "import/importError.h"

namespace meshimport {

namespace {

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == ':' ||
           c == '-' || c == '.';
}

bool isIndexChar(char c) {
    return (c >= '0' && c <= '9') || c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '-' || c == '+';
}

// Whether an attribute of that name stands among a start tag's attributes.
bool hasAttribute(const std::string& tag, const char* name) {
    const std::string wanted = name;
    for (std::size_t at = tag.find(wanted); at != std::string::npos; at = tag.find(wanted, at + 1)) {
        const bool startsWord = at > 0 && (tag[at - 1] == ' ' || tag[at - 1] == '\t' || tag[at - 1] == '\r' ||
                                           tag[at - 1] == '\n');
        std::size_t after = at + wanted.size();
        while (after < tag.size() && (tag[after] == ' ' || tag[after] == '\t'))
            ++after;
        if (startsWord && after < tag.size() && tag[after] == '=')
            return true;
    }
    return false;
}

}  // namespace

void checkDae(Assimp::IOStream& file) {
    byteCursorC in(file, 0);
    uint64_t lists = 0;
    uint64_t arrays = 0;
    while (in.peek() != '\0') {
        if (in.peek() != '<') {
            in.next();
            continue;
        }
        in.next();
        std::string name;
        for (; isNameChar(in.peek()) && name.size() < 32; in.next())
            name += in.peek();
        const bool array = name.size() > 6 && name.compare(name.size() - 6, 6, "_array") == 0;
        if ((name != "p" && !array) || isNameChar(in.peek()))
            continue;
        // The rest of the start tag: its attributes.
        std::string tag;
        for (; in.peek() != '\0' && in.peek() != '>'; in.next())
            tag += in.peek();
        if (in.peek() == '\0')
            return;  // cut off: the loader reports it
        if (array) {
            ++arrays;
            if (!hasAttribute(tag, "count"))
                throw importError("data array " + std::to_string(arrays) + " (<" + name +
                                  ">) of the COLLADA file does not say how many values it holds");
            continue;
        }
        if (!tag.empty() && tag.back() == '/')
            continue;  // an empty list
        in.next();
        ++lists;
        for (; in.peek() != '\0' && in.peek() != '<'; in.next())
            if (!isIndexChar(in.peek()))
                throw importError("index list " + std::to_string(lists) +
                                  " (<p>) of the COLLADA file holds something other than whole numbers");
    }
}

}  // namespace meshimport
