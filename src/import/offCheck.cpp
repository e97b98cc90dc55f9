// OFF: the counts of the header against the lines that follow, and every
// face line beginning with a corner count the loader takes. The file is
// walked as assimp's loader walks it, so that both see the same lines.
#include "import/fileCheckParts.h"
#include "import/importError.h"

namespace meshimport {

namespace {

// The loader's line buffer holds 4096 characters with the terminating 0.
constexpr std::size_t kMaxLine = 4095;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// What the loader skips between the header's words: blanks, line ends,
// and lines that begin with '#'.
std::size_t skipToWord(const std::string& text, std::size_t at) {
    for (;;) {
        while (at < text.size() && isBlank(text[at]))
            ++at;
        if (at >= text.size() || text[at] != '#')
            return at;
        while (at < text.size() && text[at] != '\r' && text[at] != '\n' && text[at] != '\0')
            ++at;
    }
}

// Decimal digits as the loader reads them (none is 0); saturates where the
// loader's count would wrap.
uint64_t readDigits(const std::string& text, std::size_t& at) {
    const std::size_t start = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9')
        ++at;
    uint64_t value = 0;
    parseCount(text.substr(start, at - start), value);
    return value;
}

// The corner count that begins a face line: the digits after its blanks.
uint64_t leadingCount(const std::string& line) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos)
        return 0;
    const std::size_t end = line.find_first_not_of("0123456789", start);
    uint64_t count = 0;
    parseCount(line.substr(start, end == std::string::npos ? std::string::npos : end - start), count);
    return count;
}

}  // namespace

void checkOff(Assimp::IOStream& file, const std::string& head, std::size_t size) {
    // The header: optional letters for texture coordinates, colours,
    // normals, homogeneous and n-dimensional vertices, "OFF" (which may be
    // left out), the dimension if announced, then the vertex, face and edge
    // counts.
    std::size_t at = skipToWord(head, 0);
    const auto skip = [&](const char* word) {
        const std::size_t length = std::char_traits<char>::length(word);
        if (head.compare(at, length, word) != 0)
            return false;
        at += length;
        return true;
    };
    skip("ST");
    skip("C");
    skip("N");
    skip("4");
    const bool dimension = skip("n");
    skip("OFF");
    at = skipToWord(head, at);
    if (at >= head.size() || head[at] < '0' || head[at] > '9')
        return;  // the loader refuses the header itself
    if (dimension) {
        readDigits(head, at);
        at = skipToWord(head, at);
    }
    const uint64_t vertices = readDigits(head, at);
    at = skipToWord(head, at);
    const uint64_t faces = readDigits(head, at);
    at = skipToWord(head, at);
    readDigits(head, at);  // the edge count, unused
    at = skipToWord(head, at);
    if (at >= head.size() && head.size() < size)
        throw importError("the OFF header does not end within the first 64 KiB");
    if (vertices == 0 || faces == 0)
        return;  // the loader refuses these itself

    // The vertex lines begin right after the counts, on the same line if
    // anything follows them there.
    byteCursorC in(file, at);
    const uint64_t records = saturatingAdd(vertices, faces);
    std::string line;
    for (uint64_t n = 0; n < records; ++n) {
        if (!nextLine(in, line, kMaxLine, n + 1))
            throw importError("the OFF header declares " + counted(vertices, "vertex", "vertices") + " and " +
                              counted(faces, "face", "faces") + ", one a line, but only " +
                              counted(n, "line follows", "lines follow") + " it");
        if (n < vertices)
            continue;
        const uint64_t corners = leadingCount(line);
        if (corners < 1 || corners > 9)
            throw importError("face " + std::to_string(n - vertices + 1) +
                              " of the OFF file does not begin with a corner count from 1 to 9");
    }
}

}  // namespace meshimport
