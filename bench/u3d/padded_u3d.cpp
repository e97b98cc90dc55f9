// padded_u3d SIZE OUT FILLER...: a valid U3D file of exactly SIZE bytes (a
// multiple of 4, at least 48) for the conversion benchmarks: the file
// header block, then blocks of a type that extensions use and readers
// skip by their sizes (0x00000100), each holding up to 64 KiB taken in turn
// from the FILLER files (real U3D models, so that the bytes deflate as
// models do). u3dpdf convert reads its input as U3D first: plain copies of
// models end to end would not be one U3D file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "padded_u3d: %s\n", message.c_str());
    std::exit(1);
}

void putU32(std::vector<char>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4)
        fail("usage: padded_u3d SIZE OUT FILLER...");
    const uint64_t size = std::strtoull(argv[1], nullptr, 10);
    if (size < 48 || size % 4 != 0)
        fail("SIZE must be a multiple of 4 and at least 48");
    std::vector<char> filler;
    for (int i = 3; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in)
            fail(std::string("cannot read ") + argv[i]);
        filler.insert(filler.end(), std::istreambuf_iterator<char>(in), {});
    }
    if (filler.empty())
        fail("the filler files are empty");
    std::ofstream out(argv[2], std::ios::binary);

    // The header block: version, profile 0, declaration size, file size,
    // character encoding (UTF-8).
    std::vector<char> header;
    putU32(header, 0x00443355);
    putU32(header, 24);
    putU32(header, 0);
    putU32(header, 0);
    putU32(header, 0);
    putU32(header, 36);
    putU32(header, static_cast<uint32_t>(size));
    putU32(header, static_cast<uint32_t>(size >> 32));
    putU32(header, 106);
    out.write(header.data(), static_cast<std::streamsize>(header.size()));

    uint64_t left = size - header.size();
    std::size_t at = 0;
    std::vector<char> block;
    while (left > 0) {
        // A block of 12 header bytes and `data` bytes (a multiple of 4, so
        // no padding); the last one takes what is left.
        const uint64_t data = left - 12 <= 65536 + 12 ? left - 12 : 65536;
        block.clear();
        putU32(block, 0x00000100);
        putU32(block, static_cast<uint32_t>(data));
        putU32(block, 0);
        for (uint64_t i = 0; i < data; ++i) {
            block.push_back(filler[at]);
            at = (at + 1) % filler.size();
        }
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
        left -= 12 + data;
    }
    if (!out.flush())
        fail(std::string("cannot write ") + argv[2]);
    return 0;
}
