#include "pdfObjects.h"

#include <zlib.h>

#include <cstdlib>
#include <vector>

std::map<int, pdfObjectS> pdfObjects(const std::string& pdf) {
    std::map<int, pdfObjectS> objects;
    const size_t start = pdf.rfind("startxref\r\n");
    if (start == std::string::npos)
        return objects;
    const size_t xref = size_t(std::atol(pdf.c_str() + start + 11));
    if (pdf.compare(xref, 6, "xref\r\n") != 0)
        return objects;
    // "xref", "0 n", then n entries of 20 bytes: offset, generation, kind.
    size_t at = pdf.find('\n', xref) + 1;
    const int count = std::atoi(pdf.c_str() + pdf.find(' ', at) + 1);
    at = pdf.find('\n', at) + 1;
    std::vector<long> offsets;
    for (int i = 0; i < count; ++i, at += 20)
        offsets.push_back(pdf.compare(at + 17, 1, "n") == 0 ? std::atol(pdf.c_str() + at) : -1);
    for (int id = 1; id < count; ++id) {
        const long offset = offsets[size_t(id)];
        const std::string head = std::to_string(id) + " 0 obj\r\n";
        if (offset < 0 || pdf.compare(size_t(offset), head.size(), head) != 0)
            continue;
        const size_t begin = size_t(offset) + head.size();
        // Each object ends at the next one, or at the table.
        size_t end = xref;
        for (long other : offsets)
            if (other > offset && size_t(other) < end)
                end = size_t(other);
        pdfObjectS object;
        const size_t stream = pdf.find(">>\r\nstream\r\n", begin);
        if (stream != std::string::npos && stream < end) {
            object.isStream = true;
            object.dictionary = pdf.substr(begin, stream + 2 - begin);
            const size_t data = stream + 12;
            const size_t last = pdf.rfind("\r\nendstream", end);
            object.data = last >= data ? pdf.substr(data, last - data) : std::string();
        } else {
            object.dictionary = pdf.substr(begin, pdf.rfind("\r\nendobj", end) - begin);
        }
        objects[id] = object;
    }
    return objects;
}

std::string entryOf(const std::string& dictionary, const std::string& key) {
    const std::string wanted = "\n/" + key + " ";
    const size_t at = dictionary.find(wanted);
    if (at == std::string::npos)
        return {};
    const size_t begin = at + wanted.size();
    return dictionary.substr(begin, dictionary.find('\r', begin) - begin);
}

int referenceTo(const std::string& value) {
    const size_t space = value.find(' ');
    if (space == std::string::npos || value.compare(space, 4, " 0 R") != 0)
        return 0;
    return std::atoi(value.c_str());
}

std::string inflated(const std::string& zlib) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return {};
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zlib.data()));
    stream.avail_in = uInt(zlib.size());
    std::string out;
    char buffer[1 << 16];
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof(buffer);
        result = inflate(&stream, Z_NO_FLUSH);
        out.append(buffer, sizeof(buffer) - stream.avail_out);
    }
    const bool complete = result == Z_STREAM_END && stream.avail_in == 0;
    inflateEnd(&stream);
    return complete ? out : std::string();
}
