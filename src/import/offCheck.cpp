// OFF: the counts of the header against the lines that follow, and every
// face line beginning with a corner count the loader takes. The file is
// walked as assimp's loader walks it, so that both see the same lines.
#include "import/fileCheckParts.h"
#include "import/importError.h"

namespace meshimport {

namespace {

// The loader's line buffer holds 4096 characters with the terminating 0.
constexpr std::size_t kMaxLine = 4095;

bool isLineEnd(char c) { return c == '\r' || c == '\n' || c == '\f' || c == '\0'; }

// Between the header's numbers: blanks, line ends, and lines that begin
// with '#'.
void skipToNumber(byteCursorC& in) {
    for (;;) {
        while (in.peek() == ' ' || in.peek() == '\t' || in.peek() == '\r' || in.peek() == '\n')
            in.next();
        if (in.peek() != '#')
            return;
        while (in.peek() != '\r' && in.peek() != '\n' && in.peek() != '\0')
            in.next();
    }
}

// Decimal digits as the loader reads them (none is 0); saturates where the
// loader's count would wrap.
uint64_t readDigits(byteCursorC& in) {
    std::string digits;
    for (; in.peek() >= '0' && in.peek() <= '9'; in.next())
        digits += in.peek();
    uint64_t value = 0;
    parseCount(digits, value);
    return value;
}

// The next line as the loader's GetNextLine takes it: up to a line end,
// after which every following line end is skipped (so empty lines do not
// count). False at the end of the text.
bool nextLine(byteCursorC& in, std::string& line, uint64_t number) {
    if (in.peek() == '\0')
        return false;
    line.clear();
    for (; !isLineEnd(in.peek()); in.next())
        if (line.size() == kMaxLine)
            throw importError("line " + std::to_string(number) + " after the OFF header is longer than " +
                              std::to_string(kMaxLine) + " characters");
        else
            line += in.peek();
    while (in.peek() != '\0' && isLineEnd(in.peek()))
        in.next();
    return true;
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

void checkOff(Assimp::IOStream& file) {
    byteCursorC in(file, 3);  // past "OFF"
    skipToNumber(in);
    const uint64_t vertices = readDigits(in);
    skipToNumber(in);
    const uint64_t faces = readDigits(in);
    skipToNumber(in);
    readDigits(in);  // the edge count, unused
    skipToNumber(in);
    if (vertices == 0 || faces == 0)
        return;  // the loader refuses these itself

    const uint64_t records = saturatingAdd(vertices, faces);
    std::string line;
    for (uint64_t n = 0; n < records; ++n) {
        if (!nextLine(in, line, n + 1))
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
