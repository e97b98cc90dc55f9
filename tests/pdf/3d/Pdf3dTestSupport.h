// Files and zlib helpers shared by the 3D annotation tests.
#pragma once

#include <zlib.h>

#include <string>

#include "../PdfTestSupport.h"
#include "support/testFiles.h"

// The zlib stream of no bytes at the default level.
inline const std::string kCompressedNothing("\x78\x9C\x03\x00\x00\x00\x00\x01", 8);

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
