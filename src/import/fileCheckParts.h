// What the per-format checks of fileChecks.h share: numbers from headers
// and the text after them, read from the stream in large chunks.
#pragma once

#include <assimp/IOStream.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace meshimport {

// Every header checked here fits in the first 64 KiB.
inline constexpr std::size_t kHeadBytes = 64 * 1024;

// A decimal count; numbers beyond 64 bits saturate (no file holds that many
// of anything). False for anything but digits.
bool parseCount(const std::string& word, uint64_t& out);
uint64_t saturatingAdd(uint64_t a, uint64_t b);
uint64_t saturatingMul(uint64_t a, uint64_t b);
// "1 line", "4 lines".
std::string counted(uint64_t count, const char* one, const char* many);

// The file's bytes from an offset on, read in large chunks.
class byteCursorC {
public:
    byteCursorC(Assimp::IOStream& file, std::size_t offset);
    bool atEnd() const { return at_ >= chunk_.size(); }
    // The next byte, or 0 at the end of the file (the loaders read their
    // text up to a 0).
    char peek() const { return atEnd() ? '\0' : chunk_[at_]; }
    void next() {
        if (++at_ >= chunk_.size())
            fill();
    }
    // The next bytes into out; false when the file ends first.
    bool take(unsigned char* out, std::size_t count);
    // Past the next bytes; false when the file ends first.
    bool skip(uint64_t count);

private:
    void fill();

    Assimp::IOStream& file_;
    std::vector<char> chunk_;
    std::size_t at_ = 0;
};

// The next line as assimp's GetNextLine takes it: up to a line end ('\r',
// '\n', '\f' or a 0), after which every following line end is skipped, so
// empty lines do not count. False at the end of the text. A line longer
// than maxLength is refused, with its number in the message.
bool nextLine(byteCursorC& in, std::string& line, std::size_t maxLength, uint64_t number);

void checkPly(Assimp::IOStream& file, const std::string& head, std::size_t size);
void checkOff(Assimp::IOStream& file, const std::string& head, std::size_t size);
void checkStl(const std::string& head, std::size_t size);
void checkDae(Assimp::IOStream& file);

}  // namespace meshimport
