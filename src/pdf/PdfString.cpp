#include "pdf/PdfString.h"

#include <cstring>

#include "pdf/PdfStreamBase.h"
#include "pdf/PdfSyntax.h"

namespace {

// Collects output in a small buffer so that a long string costs few writes;
// `reserve` is the most one step appends.
class ChunkWriter {
public:
    explicit ChunkWriter(PdfStreamBase& stream) : m_stream(stream) {}
    ~ChunkWriter() = default;

    char* Room(size_t reserve) {
        if (m_used + reserve > sizeof(m_buffer))
            Flush();
        return m_buffer + m_used;
    }
    void Commit(size_t n) { m_used += n; }
    void Flush() {
        if (m_used)
            m_stream.Write(m_buffer, m_used);
        m_used = 0;
    }

private:
    PdfStreamBase& m_stream;
    char m_buffer[256];
    size_t m_used = 0;
};

}  // namespace

void PdfText::SetValue(const char* value) {
    if (!value) {
        m_value.clear();
        return;
    }
    m_value.assign(value, strnlen(value, kMaxLength));
}

void PdfText::WriteToStream(PdfStreamBase& stream) {
    ChunkWriter out(stream);
    *out.Room(1) = '(';
    out.Commit(1);
    for (unsigned char c : m_value) {
        char* p = out.Room(4);
        if (PdfIsRegularByte(c)) {
            *p = static_cast<char>(c);
            out.Commit(1);
        } else {
            p[0] = '\\';
            p[1] = static_cast<char>('0' + (c >> 6));
            p[2] = static_cast<char>('0' + ((c >> 3) & 7));
            p[3] = static_cast<char>('0' + (c & 7));
            out.Commit(4);
        }
    }
    *out.Room(1) = ')';
    out.Commit(1);
    out.Flush();
}

void PdfBinary::SetData(const void* data, size_t length) {
    m_data = static_cast<const unsigned char*>(data);
    m_length = data ? length : 0;
}

void PdfBinary::WriteToStream(PdfStreamBase& stream) {
    ChunkWriter out(stream);
    *out.Room(1) = '<';
    out.Commit(1);
    for (size_t i = 0; i < m_length; ++i) {
        char* p = out.Room(2);
        p[0] = PdfHexDigit(m_data[i] >> 4);
        p[1] = PdfHexDigit(m_data[i]);
        out.Commit(2);
    }
    *out.Room(1) = '>';
    out.Commit(1);
    out.Flush();
}
