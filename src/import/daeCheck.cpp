// COLLADA: index lists of nothing but numbers. assimp's loader reads a <p>
// list until its end and never moves past a character that starts no
// number: one letter makes it add indices until memory runs out.
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

}  // namespace

void checkDae(Assimp::IOStream& file) {
    byteCursorC in(file, 0);
    uint64_t lists = 0;
    while (in.peek() != '\0') {
        if (in.peek() != '<') {
            in.next();
            continue;
        }
        in.next();
        std::string name;
        for (; isNameChar(in.peek()) && name.size() < 2; in.next())
            name += in.peek();
        if (name != "p" || isNameChar(in.peek()))
            continue;
        // A <p> start tag: past its attributes to its end.
        char last = '\0';
        for (; in.peek() != '\0' && in.peek() != '>'; in.next())
            last = in.peek();
        if (in.peek() == '\0' || last == '/')
            continue;  // cut off, or an empty element
        in.next();
        ++lists;
        for (; in.peek() != '\0' && in.peek() != '<'; in.next())
            if (!isIndexChar(in.peek()))
                throw importError("index list " + std::to_string(lists) +
                                  " (<p>) of the COLLADA file holds something other than whole numbers");
    }
}

}  // namespace meshimport
