// Flate (zlib) compression into an output stream.
#pragma once

#include <cstdint>
#include <memory>

#include <zlib.h>

class PdfStreamBase;

// One zlib stream, compressed through a single output buffer of bufferSize
// bytes that is written to `out` whenever it fills. The zlib state and the
// buffer are released however the object goes, also when a write throws.
class PdfFlate {
public:
    // -8 when zlib cannot start.
    PdfFlate(PdfStreamBase& out, int bufferSize);
    ~PdfFlate();
    PdfFlate(const PdfFlate&) = delete;
    PdfFlate& operator=(const PdfFlate&) = delete;

    // Compresses a piece of input that is not the last one.
    void Compress(const char* data, int length);
    // Compresses the last piece (possibly empty), ends the zlib stream and
    // writes out what the buffer still holds.
    void Finish(const char* data, int length);
    // Compressed bytes written to `out` so far.
    int64_t GetWritten() const { return m_written; }

private:
    // One deflate call; a full buffer is written out. Returns zlib's result.
    int Deflate(int flush);
    void WriteBuffer(unsigned length);

    PdfStreamBase& m_out;
    z_stream m_zlib{};
    std::unique_ptr<unsigned char[]> m_buffer;
    unsigned m_bufferSize;
    int64_t m_written = 0;
};
