#include "runtime/str/strEscape.h"

namespace {

// The byte that follows the backslash in the escaped form, 0 for bytes kept
// as they are.
char escapeCode(char c) {
    switch (c) {
        case '\t': return 't';
        case '\n': return 'n';
        case '\r': return 'r';
        case '"': return '"';
        case '\\': return '\\';
        default: return 0;
    }
}

char unescapeCode(char c) {
    switch (c) {
        case 'n': return '\n';
        case 'r': return '\r';
        case 't': return '\t';
        default: return c;
    }
}

}  // namespace

str escape(const char* text) {
    str out;
    if (text == nullptr) return out;
    size_t n = 0;
    for (const char* p = text; *p != '\0'; ++p) n += escapeCode(*p) != 0 ? 2 : 1;
    char* o = out.setRaw(static_cast<int>(n + 1));
    for (const char* p = text; *p != '\0'; ++p) {
        if (char code = escapeCode(*p)) {
            *o++ = '\\';
            *o++ = code;
        } else {
            *o++ = *p;
        }
    }
    *o = '\0';
    return out;
}

namespace {

// Calls emit(byte) for every byte of the unescaped text.
template <class Emit>
void unescapeEach(const char* text, Emit emit) {
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p != '\\')
            emit(*p);
        else if (p[1] != '\0')  // a backslash at the very end is dropped
            emit(unescapeCode(*++p));
    }
}

}  // namespace

str unescape(const char* text) {
    str out;
    if (text == nullptr) return out;
    size_t n = 0;
    unescapeEach(text, [&n](char) { ++n; });
    char* o = out.setRaw(static_cast<int>(n + 1));
    unescapeEach(text, [&o](char c) { *o++ = c; });
    *o = '\0';
    return out;
}

str quote(const char* text) {
    str out("\"");
    out.append(escape(text));
    out.appendChar('"');
    return out;
}
