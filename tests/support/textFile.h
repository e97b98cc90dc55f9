// The bytes that stdio's text mode puts on disk, for tests that read back
// raw what the product wrote as a text file (the braced and INI forms of
// meta trees, the diagnostic logs): the C runtime of Windows writes every
// line feed as CR LF, POSIX writes it unchanged.
#pragma once

#include <string>

#ifdef _WIN32
inline constexpr const char* kTextFileNewline = "\r\n";
#else
inline constexpr const char* kTextFileNewline = "\n";
#endif

// text as a text-mode write leaves it in the file.
inline std::string asTextFile(const std::string& text) {
    std::string bytes;
    for (char c : text) {
        if (c == '\n')
            bytes += kTextFileNewline;
        else
            bytes += c;
    }
    return bytes;
}
