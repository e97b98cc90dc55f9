// PLY: the header must end, and its record counts fit what follows it.
#include "import/fileCheckParts.h"
#include "import/importError.h"

#include <algorithm>
#include <sstream>

namespace meshimport {

namespace {

// Bytes of one PLY scalar; 0 for a type the format does not have.
uint64_t plyTypeSize(const std::string& type) {
    static const std::pair<const char*, uint64_t> sizes[] = {
        {"char", 1},    {"uchar", 1},   {"int8", 1},    {"uint8", 1},   {"short", 2},  {"ushort", 2},
        {"int16", 2},   {"uint16", 2},  {"int", 4},     {"uint", 4},    {"int32", 4},  {"uint32", 4},
        {"float", 4},   {"float32", 4}, {"double", 8},  {"float64", 8},
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

}  // namespace

// assimp's header parser hangs or reads past its buffer on lines it does
// not expect, so the header must be exactly what the format allows:
// printable text, "ply", a format, elements with a count, their
// properties of known types, comments, and end_header.
void checkPly(Assimp::IOStream& file, const std::string& head, std::size_t size) {
    std::istringstream lines(head);
    std::string line;
    std::getline(lines, line);
    if (line != "ply" && line != "ply\r")
        throw importError("the first line of a PLY file must be \"ply\" alone");
    bool ascii = false;
    bool ended = false;
    std::vector<plyElementS> elements;
    for (unsigned number = 2; !ended && std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto refuse = [&](const char* why) {
            throw importError("line " + std::to_string(number) + " of the PLY header " + why);
        };
        if (std::any_of(line.begin(), line.end(), [](char c) { return (c < 0x20 && c != '\t') || c > 0x7e; }))
            refuse("holds characters other than printable text");
        std::istringstream in(line);
        std::vector<std::string> words;
        for (std::string word; in >> word;)
            words.push_back(word);
        const std::string keyword = words.empty() ? "" : words[0];
        if (keyword == "comment" || keyword == "obj_info")
            continue;
        if (keyword == "end_header" && words.size() == 1) {
            ended = true;
        } else if (keyword == "format" && words.size() == 3 &&
                   (words[1] == "ascii" || words[1] == "binary_little_endian" || words[1] == "binary_big_endian")) {
            ascii = words[1] == "ascii";
        } else if (keyword == "element" && words.size() == 3) {
            plyElementS element{words[1]};
            if (!parseCount(words[2], element.count))
                refuse("gives an element count that is not a number");
            elements.push_back(element);
        } else if (keyword == "property" && !elements.empty() && words.size() == 3 && plyTypeSize(words[1])) {
            elements.back().minBytes += plyTypeSize(words[1]);
        } else if (keyword == "property" && !elements.empty() && words.size() == 5 && words[1] == "list" &&
                   plyTypeSize(words[2]) && plyTypeSize(words[3])) {
            // The length field only: the list may be empty.
            elements.back().minBytes += plyTypeSize(words[2]);
        } else {
            refuse("is not a format, element, property, comment or end_header line");
        }
    }
    if (!ended)
        throw importError(head.size() < size ? "the PLY header does not end within the first 64 KiB"
                                             : "the PLY header does not end (no end_header line)");
    const std::size_t body = lines.eof() ? size : std::size_t(lines.tellg());
    if (elements.empty())
        return;

    if (ascii) {
        // The loader reads one record a line.
        uint64_t records = 0;
        for (const plyElementS& element : elements)
            records = saturatingAdd(records, element.count);
        byteCursorC in(file, body);
        const uint64_t found = countLines(in, records);
        if (found < records)
            throw importError("the PLY header declares " + describe(elements) + ", one a line, but only " +
                              counted(found, "line follows", "lines follow") + " it");
        return;
    }
    // A record of no bytes still counts one: no file holds more records
    // than bytes, and the loader keeps an entry for each.
    const uint64_t bodyBytes = size - body;
    uint64_t needed = 0;
    for (const plyElementS& element : elements)
        needed = saturatingAdd(needed, saturatingMul(element.count, std::max<uint64_t>(element.minBytes, 1)));
    if (needed > bodyBytes)
        throw importError("the PLY header declares " + describe(elements) + ", which need at least " +
                          std::to_string(needed) + " bytes, but " + std::to_string(bodyBytes) + " follow it");
}

}  // namespace meshimport
