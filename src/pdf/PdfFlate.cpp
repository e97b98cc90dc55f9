#include "pdf/PdfFlate.h"

#include "pdf/PdfException.h"
#include "pdf/PdfStreamBase.h"

PdfFlate::PdfFlate(PdfStreamBase& out, int bufferSize)
    : m_out(out),
      m_buffer(new unsigned char[static_cast<unsigned>(bufferSize)]),
      m_bufferSize(static_cast<unsigned>(bufferSize)) {
    // Default level (-1): zlib level 6, 15-bit window, zlib header and
    // Adler-32 trailer; "1.2.3" is the oldest interface version whose stream
    // record layout the library must accept.
    int result = deflateInit_(&m_zlib, -1, "1.2.3", static_cast<int>(sizeof(z_stream)));
    if (result != Z_OK)
        throw PdfException(PdfErrCompress, "ERROR: PdfMemStream --deflateInit_ returns %d.", result);
    m_zlib.next_out = m_buffer.get();
    m_zlib.avail_out = m_bufferSize;
}

PdfFlate::~PdfFlate() { deflateEnd(&m_zlib); }

void PdfFlate::Compress(const char* data, int length) {
    m_zlib.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    m_zlib.avail_in = static_cast<uInt>(length);
    while (m_zlib.avail_in > 0)
        Deflate(Z_NO_FLUSH);
}

void PdfFlate::Finish(const char* data, int length) {
    m_zlib.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    m_zlib.avail_in = static_cast<uInt>(length);
    while (Deflate(Z_FINISH) != Z_STREAM_END) {
    }
    if (m_zlib.avail_out < m_bufferSize)
        WriteBuffer(m_bufferSize - m_zlib.avail_out);
}

int PdfFlate::Deflate(int flush) {
    int result = deflate(&m_zlib, flush);
    if (result != Z_OK && result != Z_STREAM_END)
        throw PdfException(PdfErrCompress, "ERROR: PdfMemStream --deflate returns %d.", result);
    if (m_zlib.avail_out == 0)
        WriteBuffer(m_bufferSize);
    return result;
}

void PdfFlate::WriteBuffer(unsigned length) {
    m_written += static_cast<int64_t>(m_out.Write(m_buffer.get(), length));
    m_zlib.next_out = m_buffer.get();
    m_zlib.avail_out = m_bufferSize;
}
