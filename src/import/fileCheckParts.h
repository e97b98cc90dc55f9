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

// The file's bytes from an offset on, one at a time.
class byteCursorC {
public:
    byteCursorC(Assimp::IOStream& file, std::size_t offset);
    // The next byte, or 0 at the end of the file (the loaders read their
    // text up to a 0).
    char peek() const { return at_ < chunk_.size() ? chunk_[at_] : '\0'; }
    void next() {
        if (++at_ >= chunk_.size())
            fill();
    }

private:
    void fill();

    Assimp::IOStream& file_;
    std::vector<char> chunk_;
    std::size_t at_ = 0;
};

// The lines from the cursor to the end of the file (a last line without a
// line feed counts), counted until `enough` are found.
uint64_t countLines(byteCursorC& in, uint64_t enough);

void checkPly(Assimp::IOStream& file, const std::string& head, std::size_t size);
void checkOff(Assimp::IOStream& file, const std::string& head, std::size_t size);
void checkStl(const std::string& head, std::size_t size);
void checkDae(Assimp::IOStream& file);

}  // namespace meshimport
