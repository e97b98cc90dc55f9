// compress_baseline IN OUT: the least work a conversion of IN can do. The
// whole file is read into memory, deflated in one zlib call at level 6 (the
// default level the PDF's 3D stream uses) and the result written to OUT.
// bench/convert.sh times u3dpdf against this program over the same bytes.
#include <zlib.h>

#include <cstdio>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "compress_baseline: %s\n", message.c_str());
    return 1;
}

// The file is sized first so that it is read into a single buffer, as a
// one-shot compress2 needs it.
bool readWhole(const char* path, std::unique_ptr<unsigned char[]>& data, uLong& size) {
    struct stat st {};
    if (stat(path, &st) != 0)
        return false;
    std::FILE* in = std::fopen(path, "rb");
    if (!in)
        return false;
    size = static_cast<uLong>(st.st_size);
    data.reset(new unsigned char[size ? size : 1]);
    const bool ok = std::fread(data.get(), 1, size, in) == size;
    std::fclose(in);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return fail("usage: compress_baseline IN OUT");
    std::unique_ptr<unsigned char[]> input;
    uLong inputSize = 0;
    if (!readWhole(argv[1], input, inputSize))
        return fail(std::string("cannot read ") + argv[1]);

    uLongf outputSize = compressBound(inputSize);
    std::unique_ptr<unsigned char[]> output(new unsigned char[outputSize]);
    const int result = compress2(output.get(), &outputSize, input.get(), inputSize, 6);
    if (result != Z_OK)
        return fail("compress2 returned " + std::to_string(result));
    input.reset();

    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out)
        return fail(std::string("cannot write ") + argv[2]);
    const bool written = std::fwrite(output.get(), 1, outputSize, out) == outputSize;
    if (std::fclose(out) != 0 || !written)
        return fail(std::string("cannot write ") + argv[2]);
    return 0;
}
