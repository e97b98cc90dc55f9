#include "import/declaredCounts.h"

#include "import/importError.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <limits>
#include <sstream>
#include <vector>

namespace meshimport {

namespace {

// Every header this file checks fits in the first 64 KiB.
constexpr std::size_t kHeadBytes = 64 * 1024;

std::string readHead(Assimp::IOStream& file, std::size_t size) {
    std::string head(std::min(size, kHeadBytes), '\0');
    file.Seek(0, aiOrigin_SET);
    head.resize(file.Read(head.data(), 1, head.size()));
    return head;
}

// The lines from offset to the end of the file (a last line without a line
// feed counts), counted until `enough` are found.
uint64_t countLines(Assimp::IOStream& file, std::size_t offset, std::size_t size, uint64_t enough) {
    if (offset >= size || file.Seek(offset, aiOrigin_SET) != aiReturn_SUCCESS)
        return 0;
    std::vector<char> chunk(1 << 20);
    uint64_t lines = 0;
    char last = '\n';
    while (lines < enough) {
        const std::size_t got = file.Read(chunk.data(), 1, chunk.size());
        if (got == 0)
            break;
        lines += std::count(chunk.data(), chunk.data() + got, '\n');
        last = chunk[got - 1];
    }
    return lines + (last != '\n' ? 1 : 0);
}

// A decimal count; numbers beyond 64 bits saturate (no file holds that many
// of anything). Fails on anything but digits.
bool parseCount(const std::string& word, uint64_t& out) {
    if (word.empty() || word.size() > 40)
        return false;
    out = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            return false;
        const uint64_t digit = uint64_t(c - '0');
        out = out > (std::numeric_limits<uint64_t>::max() - digit) / 10 ? std::numeric_limits<uint64_t>::max()
                                                                         : out * 10 + digit;
    }
    return true;
}

// "1 line", "4 lines".
std::string counted(uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

uint64_t saturatingAdd(uint64_t a, uint64_t b) {
    return a > std::numeric_limits<uint64_t>::max() - b ? std::numeric_limits<uint64_t>::max() : a + b;
}

uint64_t saturatingMul(uint64_t a, uint64_t b) {
    return b != 0 && a > std::numeric_limits<uint64_t>::max() / b ? std::numeric_limits<uint64_t>::max() : a * b;
}

// Bytes of one PLY scalar; 0 for a type the loader will refuse itself.
uint64_t plyTypeSize(const std::string& type) {
    static const std::pair<const char*, uint64_t> sizes[] = {
        {"char", 1},   {"uchar", 1},  {"int8", 1},  {"uint8", 1},    {"short", 2},  {"ushort", 2},
        {"int16", 2},  {"uint16", 2}, {"int", 4},   {"uint", 4},     {"int32", 4},  {"uint32", 4},
        {"float", 4},  {"float32", 4}, {"double", 8}, {"float64", 8},
    };
    for (const auto& [name, size] : sizes)
        if (type == name)
            return size;
    return 0;
}

struct plyElementS {
    std::string name;
    uint64_t count = 0;
    // The fewest bytes one record takes in a binary file: its scalars and
    // the length fields of its lists (a list may be empty).
    uint64_t minBytes = 0;
};

std::string describe(const std::vector<plyElementS>& elements) {
    std::string out;
    for (std::size_t i = 0; i < elements.size(); ++i)
        out += (i == 0 ? "" : i + 1 == elements.size() ? " and " : ", ") + std::to_string(elements[i].count) + " " +
               elements[i].name;
    return out + " records";
}

void checkPly(Assimp::IOStream& file, const std::string& head, std::size_t size) {
    const std::size_t endHeader = head.find("\nend_header");
    if (endHeader == std::string::npos) {
        if (head.size() < size)
            throw importError("the PLY header does not end within the first 64 KiB");
        return;  // the loader reports the broken header
    }
    std::size_t body = head.find('\n', endHeader + 1);
    body = body == std::string::npos ? size : body + 1;

    std::istringstream lines(head.substr(0, endHeader));
    std::string line;
    bool ascii = false;
    std::vector<plyElementS> elements;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        if (keyword == "format") {
            std::string format;
            words >> format;
            ascii = format == "ascii";
        } else if (keyword == "element") {
            plyElementS element;
            std::string count;
            words >> element.name >> count;
            if (!parseCount(count, element.count))
                return;  // the loader reports the broken header
            elements.push_back(element);
        } else if (keyword == "property" && !elements.empty()) {
            std::string type;
            words >> type;
            if (type == "list")
                words >> type;  // the length field's type; the items may be none
            elements.back().minBytes += plyTypeSize(type);
        }
    }
    if (elements.empty())
        return;

    const uint64_t bodyBytes = size - body;
    if (ascii) {
        // The loader reads one record a line.
        uint64_t records = 0;
        for (const plyElementS& element : elements)
            records = saturatingAdd(records, element.count);
        const uint64_t found = countLines(file, body, size, records);
        if (found < records)
            throw importError("the PLY header declares " + describe(elements) + ", one a line, but only " +
                              counted(found, "line follows", "lines follow") + " it");
        return;
    }
    // A record of no bytes still counts one: no file holds more records
    // than bytes, and the loader keeps an entry for each.
    uint64_t needed = 0;
    for (const plyElementS& element : elements)
        needed = saturatingAdd(needed, saturatingMul(element.count, std::max<uint64_t>(element.minBytes, 1)));
    if (needed > bodyBytes)
        throw importError("the PLY header declares " + describe(elements) + ", which need at least " +
                          std::to_string(needed) + " bytes, but " + std::to_string(bodyBytes) + " follow it");
}

// The next word of an OFF file, past white space and '#' comments.
std::string offWord(const std::string& head, std::size_t& at) {
    for (;;) {
        while (at < head.size() && std::isspace(static_cast<unsigned char>(head[at])))
            ++at;
        if (at < head.size() && head[at] == '#') {
            at = head.find('\n', at);
            at = at == std::string::npos ? head.size() : at;
            continue;
        }
        break;
    }
    const std::size_t start = at;
    while (at < head.size() && !std::isspace(static_cast<unsigned char>(head[at])))
        ++at;
    return head.substr(start, at - start);
}

// The loader reads OFF files that begin with "OFF" (no prefixes such as
// COFF): the vertex and face counts follow, then a line per vertex and a
// line per face.
void checkOff(Assimp::IOStream& file, const std::string& head, std::size_t size) {
    std::size_t at = 3;
    uint64_t vertices = 0;
    uint64_t faces = 0;
    if (!parseCount(offWord(head, at), vertices) || !parseCount(offWord(head, at), faces))
        return;  // the loader reports the broken header
    const std::size_t lineEnd = head.find('\n', at);
    const std::size_t body = lineEnd == std::string::npos ? size : lineEnd + 1;
    const uint64_t records = saturatingAdd(vertices, faces);
    const uint64_t found = countLines(file, body, size, records);
    if (found < records)
        throw importError("the OFF header declares " + counted(vertices, "vertex", "vertices") + " and " +
                          counted(faces, "face", "faces") + ", one a line, but only " +
                          counted(found, "line follows", "lines follow") + " it");
}

// The STL loader takes a file for binary when its size is exactly what the
// triangle count in its header needs, and else for ASCII when it begins
// with "solid".
void checkStl(const std::string& head, std::size_t size) {
    if (size >= 84) {
        uint32_t triangles = 0;
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
    uint32_t triangles = 0;
    std::memcpy(&triangles, head.data() + 80, sizeof triangles);
    throw importError("not an ASCII STL (it does not begin with \"solid\"), and as a binary STL its " +
                      std::to_string(triangles) + " triangles need " + std::to_string(84 + 50 * uint64_t(triangles)) +
                      " bytes, but the file has " + std::to_string(size));
}

}  // namespace

void checkDeclaredCounts(Assimp::IOStream& file, const std::string& extension) {
    const std::size_t size = file.FileSize();
    if (size == 0)
        throw importError("the file is empty");
    const std::string head = readHead(file, size);
    if (head.compare(0, 3, "ply") == 0 && head.size() > 3 && (head[3] == '\n' || head[3] == '\r'))
        checkPly(file, head, size);
    else if (head.compare(0, 3, "OFF") == 0)
        checkOff(file, head, size);
    else if (extension == "stl")
        checkStl(head, size);
    file.Seek(0, aiOrigin_SET);
}

}  // namespace meshimport
