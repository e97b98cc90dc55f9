// PLY: a header of nothing but what the format allows, and a body that
// holds the records it declares, with no list longer than its record.
//
// assimp's header parser hangs or reads past its buffer on lines it does
// not expect. Its body reader allocates for the declared record counts
// first, reads missing records as zeros, and makes room for as many list
// items as a record's length field says before it reads them.
#include "import/fileCheckParts.h"
#include "import/importError.h"

#include <algorithm>
#include <sstream>

namespace meshimport {

namespace {

struct scalarS {
    uint64_t size = 0;  // bytes; 0 for no type of the format
    bool integer = false;
    bool isSigned = false;
};

scalarS scalarType(const std::string& word) {
    static const std::pair<const char*, scalarS> types[] = {
        {"char", {1, true, true}},     {"int8", {1, true, true}},     {"uchar", {1, true, false}},
        {"uint8", {1, true, false}},   {"short", {2, true, true}},    {"int16", {2, true, true}},
        {"ushort", {2, true, false}},  {"uint16", {2, true, false}},  {"int", {4, true, true}},
        {"int32", {4, true, true}},    {"uint", {4, true, false}},    {"uint32", {4, true, false}},
        {"float", {4, false, true}},   {"float32", {4, false, true}}, {"double", {8, false, true}},
        {"float64", {8, false, true}},
    };
    for (const auto& [name, type] : types)
        if (word == name)
            return type;
    return {};
}

// A scalar property, or a list: a length field, then that many items.
struct propertyS {
    bool list = false;
    scalarS length;
    scalarS item;
};

struct elementS {
    std::string name;
    uint64_t count = 0;
    std::vector<propertyS> properties;

    bool hasList() const {
        return std::any_of(properties.begin(), properties.end(), [](const propertyS& p) { return p.list; });
    }
    // The fewest bytes one record takes in a binary file: its scalars and
    // the length fields of its lists (a list may be empty).
    uint64_t minBytes() const {
        uint64_t bytes = 0;
        for (const propertyS& p : properties)
            bytes += p.list ? p.length.size : p.item.size;
        return bytes;
    }
};

enum class formatE { ascii, little, big };

struct headerS {
    formatE format = formatE::ascii;
    std::vector<elementS> elements;
    std::size_t bodyOffset = 0;
};

std::string describe(const std::vector<elementS>& elements) {
    std::string out;
    for (std::size_t i = 0; i < elements.size(); ++i)
        out += (i == 0 ? "" : i + 1 == elements.size() ? " and " : ", ") + std::to_string(elements[i].count) + " " +
               elements[i].name;
    return out + " records";
}

std::string recordOf(const elementS& element, uint64_t record) {
    return "record " + std::to_string(record + 1) + " of the PLY file's " + element.name + " element";
}

headerS readHeader(const std::string& head, std::size_t size) {
    std::istringstream lines(head);
    std::string line;
    std::getline(lines, line);
    if (line != "ply" && line != "ply\r")
        throw importError("the first line of a PLY file must be \"ply\" alone");
    headerS header;
    bool ended = false;
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
        std::vector<propertyS>* properties = header.elements.empty() ? nullptr : &header.elements.back().properties;
        if (keyword == "comment" || keyword == "obj_info") {
            continue;
        } else if (keyword == "end_header" && words.size() == 1) {
            ended = true;
        } else if (keyword == "format" && words.size() == 3 && words[1] == "ascii") {
            header.format = formatE::ascii;
        } else if (keyword == "format" && words.size() == 3 && words[1] == "binary_little_endian") {
            header.format = formatE::little;
        } else if (keyword == "format" && words.size() == 3 && words[1] == "binary_big_endian") {
            header.format = formatE::big;
        } else if (keyword == "element" && words.size() == 3) {
            elementS element;
            element.name = words[1];
            if (!parseCount(words[2], element.count))
                refuse("gives an element count that is not a number");
            header.elements.push_back(element);
        } else if (keyword == "property" && properties && words.size() == 3 && scalarType(words[1]).size) {
            properties->push_back({false, {}, scalarType(words[1])});
        } else if (keyword == "property" && properties && words.size() == 5 && words[1] == "list" &&
                   scalarType(words[2]).integer && scalarType(words[3]).size) {
            properties->push_back({true, scalarType(words[2]), scalarType(words[3])});
        } else {
            refuse("is not a format, element, property, comment or end_header line");
        }
    }
    if (!ended)
        throw importError(head.size() < size ? "the PLY header does not end within the first 64 KiB"
                                             : "the PLY header does not end (no end_header line)");
    header.bodyOffset = lines.eof() ? size : std::size_t(lines.tellg());
    return header;
}

// One record a line (empty lines do not count, as for the loader); a
// list's length must not pass the values its line holds.
void checkAsciiBody(Assimp::IOStream& file, const headerS& header) {
    byteCursorC in(file, header.bodyOffset);
    std::string line;
    uint64_t lines = 0;
    for (const elementS& element : header.elements)
        for (uint64_t record = 0; record < element.count; ++record) {
            if (!nextLine(in, line, std::string::npos, lines + 1))
                throw importError("the PLY header declares " + describe(header.elements) + ", one a line, but only " +
                                  counted(lines, "line follows", "lines follow") + " it");
            ++lines;
            if (!element.hasList())
                continue;
            std::istringstream values(line);
            std::vector<std::string> words;
            for (std::string word; values >> word;)
                words.push_back(word);
            std::size_t at = 0;
            for (const propertyS& property : element.properties) {
                if (!property.list) {
                    ++at;
                    continue;
                }
                uint64_t length = 0;
                if (at >= words.size() || !parseCount(words[at], length))
                    throw importError(recordOf(element, record) + " gives no list length where its line has one");
                ++at;
                const uint64_t left = at <= words.size() ? words.size() - at : 0;
                if (length > left)
                    throw importError(recordOf(element, record) + " lists " + std::to_string(length) +
                                      " values, but its line holds " + std::to_string(left));
                at += std::size_t(length);
            }
        }
}

// A list length as the file stores it; false for a negative one.
bool readLength(byteCursorC& in, const scalarS& type, bool bigEndian, uint64_t& out) {
    unsigned char bytes[8] = {};
    if (!in.take(bytes, std::size_t(type.size)))
        return false;
    if (bigEndian)
        std::reverse(bytes, bytes + type.size);
    uint64_t value = 0;
    for (std::size_t i = type.size; i-- > 0;)
        value = value << 8 | bytes[i];
    if (type.isSigned && (bytes[type.size - 1] & 0x80))
        return false;
    out = value;
    return true;
}

// Records of fixed size are stepped over whole; those with lists one by
// one, each list no longer than what is left of the file.
void checkBinaryBody(Assimp::IOStream& file, const headerS& header, std::size_t size) {
    // A record of no bytes still counts one: no file holds more records
    // than bytes, and the loader keeps an entry for each.
    const uint64_t bodyBytes = size - std::min(size, header.bodyOffset);
    uint64_t needed = 0;
    for (const elementS& element : header.elements)
        needed = saturatingAdd(needed, saturatingMul(element.count, std::max<uint64_t>(element.minBytes(), 1)));
    if (needed > bodyBytes)
        throw importError("the PLY header declares " + describe(header.elements) + ", which need at least " +
                          std::to_string(needed) + " bytes, but " + std::to_string(bodyBytes) + " follow it");

    byteCursorC in(file, header.bodyOffset);
    for (const elementS& element : header.elements) {
        if (!element.hasList()) {
            in.skip(element.count * element.minBytes());  // in the file: checked above
            continue;
        }
        for (uint64_t record = 0; record < element.count; ++record)
            for (const propertyS& property : element.properties) {
                uint64_t length = 0;
                if (!property.list) {
                    length = 1;
                } else if (!readLength(in, property.length, header.format == formatE::big, length)) {
                    throw importError(recordOf(element, record) + " ends the file or gives a negative list length");
                }
                if (!in.skip(saturatingMul(length, property.item.size)))
                    throw importError(recordOf(element, record) + " lists " + std::to_string(length) +
                                      " values, more than the rest of the file holds");
            }
    }
}

}  // namespace

void checkPly(Assimp::IOStream& file, const std::string& head, std::size_t size) {
    const headerS header = readHeader(head, size);
    if (header.format == formatE::ascii)
        checkAsciiBody(file, header);
    else
        checkBinaryBody(file, header, size);
}

}  // namespace meshimport
