// COLLADA: index lists of nothing but numbers, and data arrays that say how
// many values they hold. assimp's loader reads a <p> list until its end and
// never moves past a character that starts no number (one letter makes it
// add indices until memory runs out), and reads an array's count attribute
// without looking whether it is there, through a null pointer when it is
// missing or 0.
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

// The value of a start tag's attribute of that name; empty when it has
// none.
std::string attributeValue(const std::string& tag, const char* name) {
    const std::string wanted = name;
    for (std::size_t at = tag.find(wanted); at != std::string::npos; at = tag.find(wanted, at + 1)) {
        const bool startsWord = at > 0 && (tag[at - 1] == ' ' || tag[at - 1] == '\t' || tag[at - 1] == '\r' ||
                                           tag[at - 1] == '\n');
        std::size_t after = at + wanted.size();
        while (after < tag.size() && (tag[after] == ' ' || tag[after] == '\t'))
            ++after;
        if (!startsWord || after >= tag.size() || tag[after] != '=')
            continue;
        std::size_t open = tag.find_first_of("\"'", after);
        if (open == std::string::npos)
            return {};
        const std::size_t close = tag.find(tag[open], open + 1);
        return close == std::string::npos ? std::string() : tag.substr(open + 1, close - open - 1);
    }
    return {};
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
            uint64_t count = 0;
            if (!parseCount(attributeValue(tag, "count"), count) || count == 0)
                throw importError("data array " + std::to_string(arrays) + " (<" + name +
                                  ">) of the COLLADA file does not give a count of its values above 0");
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
