#include "translator/conversionError.h"

#include <cstring>

str oneLine(const char* text, int maxLength) {
    str line;
    int n = 0;
    for (const char* c = text; *c; ++c, ++n) {
        if (n == maxLength) {
            line.append("...");
            break;
        }
        const unsigned char byte = static_cast<unsigned char>(*c);
        line.appendChar(byte < 0x20 || byte == 0x7f ? ' ' : *c);
    }
    line.trimTrailing(' ');
    return line;
}

str withSystemReason(const str& what, int error) {
    if (error == 0)
        return what;
    return what + ": " + std::strerror(error);
}
