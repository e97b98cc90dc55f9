// Files and zlib helpers shared by the 3D annotation tests.
#pragma once

#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../PdfTestSupport.h"

// The zlib stream of no bytes at the default level.
inline const std::string kCompressedNothing("\x78\x9C\x03\x00\x00\x00\x00\x01", 8);

inline std::string TestData(const char* name) { return std::string(U3DPDF_TEST_DATA_DIR) + "/" + name; }

// A directory of this test process, removed afterwards.
struct ScratchDir {
    ScratchDir() { std::filesystem::create_directories(path); }
    ~ScratchDir() { std::filesystem::remove_all(path); }
    std::string File(const char* name) const { return (path / name).string(); }
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("u3dpdf_pdf3d_" + std::to_string(::getpid()));
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// zlib's own one-call compression at the default level.
inline std::string Compress2(const std::string& data) {
    std::string out(compressBound(data.size()), '\0');
    uLongf length = out.size();
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &length, reinterpret_cast<const Bytef*>(data.data()),
                  data.size(), Z_DEFAULT_COMPRESSION) != Z_OK)
        return "<failed>";
    return out.substr(0, length);
}

// What a complete zlib stream decodes to; "<bad>" for anything else.
inline std::string Inflate(const std::string& compressed) {
    std::string out(1 << 20, '\0');
    uLongf length = out.size();
    if (uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                   reinterpret_cast<const Bytef*>(compressed.data()), compressed.size()) != Z_OK)
        return "<bad>";
    return out.substr(0, length);
}
