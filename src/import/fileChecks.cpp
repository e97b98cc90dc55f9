#include "import/fileChecks.h"

#include "import/fileCheckParts.h"
#include "import/importError.h"

#include <algorithm>
#include <limits>

namespace meshimport {

bool parseCount(const std::string& word, uint64_t& out) {
    if (word.empty())
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

uint64_t saturatingAdd(uint64_t a, uint64_t b) {
    return a > std::numeric_limits<uint64_t>::max() - b ? std::numeric_limits<uint64_t>::max() : a + b;
}

uint64_t saturatingMul(uint64_t a, uint64_t b) {
    return b != 0 && a > std::numeric_limits<uint64_t>::max() / b ? std::numeric_limits<uint64_t>::max() : a * b;
}

std::string counted(uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

byteCursorC::byteCursorC(Assimp::IOStream& file, std::size_t offset) : file_(file) {
    if (file_.Seek(offset, aiOrigin_SET) == aiReturn_SUCCESS)
        fill();
}

void byteCursorC::fill() {
    chunk_.resize(1 << 20);
    chunk_.resize(file_.Read(chunk_.data(), 1, chunk_.size()));
    at_ = 0;
}

bool byteCursorC::take(unsigned char* out, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, next()) {
        if (atEnd())
            return false;
        out[i] = static_cast<unsigned char>(chunk_[at_]);
    }
    return true;
}

bool byteCursorC::skip(uint64_t count) {
    while (count > 0) {
        if (atEnd())
            return false;
        const uint64_t step = std::min<uint64_t>(count, chunk_.size() - at_);
        at_ += std::size_t(step);
        count -= step;
        if (at_ >= chunk_.size())
            fill();
    }
    return true;
}

bool nextLine(byteCursorC& in, std::string& line, std::size_t maxLength, uint64_t number) {
    const auto isLineEnd = [](char c) { return c == '\r' || c == '\n' || c == '\f' || c == '\0'; };
    if (in.peek() == '\0')
        return false;
    line.clear();
    for (; !isLineEnd(in.peek()); in.next()) {
        if (line.size() == maxLength)
            throw importError("line " + std::to_string(number) + " after the header is longer than " +
                              std::to_string(maxLength) + " characters");
        line += in.peek();
    }
    while (in.peek() != '\0' && isLineEnd(in.peek()))
        in.next();
    return true;
}

void checkBeforeLoading(Assimp::IOStream& file, const std::string& extension) {
    const std::size_t size = file.FileSize();
    if (size == 0)
        throw importError("the file is empty");
    std::string head(std::min(size, kHeadBytes), '\0');
    file.Seek(0, aiOrigin_SET);
    head.resize(file.Read(head.data(), 1, head.size()));

    // assimp hands a file to its PLY loader when it begins with "ply" in
    // any case, to its OFF loader by the extension or when it begins with
    // "off" in any case, and to its COLLADA loader by the extension or the
    // root element.
    const auto beginsWith = [&](const char* word) {
        for (std::size_t i = 0; word[i]; ++i)
            if (i >= head.size() || (head[i] | 0x20) != word[i])
                return false;
        return true;
    };
    if (beginsWith("ply"))
        checkPly(file, head, size);
    else if (extension == "off" || beginsWith("off"))
        checkOff(file, head, size);
    else if (extension == "stl")
        checkStl(head, size);
    else if (extension == "dae" || extension == "xml" || head.find("<COLLADA") != std::string::npos)
        checkDae(file);
    file.Seek(0, aiOrigin_SET);
}

}  // namespace meshimport
