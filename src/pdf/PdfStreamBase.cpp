#include "pdf/PdfStreamBase.h"

#include <charconv>
#include <cstring>

#include "pdf/PdfException.h"

namespace {

// std::to_chars never consults the locale, so every number is written with
// '.' whatever LC_NUMERIC the host has set.
template <class T>
void WriteInteger(PdfStreamBase& stream, T value) {
    char text[24];
    auto result = std::to_chars(text, text + sizeof(text), value);
    stream.Write(text, static_cast<size_t>(result.ptr - text));
}

}  // namespace

size_t PdfStreamBase::Write(const void* bytes, size_t length) {
    size_t written = WriteBytes(bytes, length);
    m_size += static_cast<int64_t>(written);
    return written;
}

PdfStreamBase& PdfStreamBase::operator<<(const char* text) {
    if (text)
        Write(text, std::strlen(text));
    return *this;
}

PdfStreamBase& PdfStreamBase::operator<<(char c) {
    Write(&c, 1);
    return *this;
}

PdfStreamBase& PdfStreamBase::operator<<(unsigned value) {
    WriteInteger(*this, value);
    return *this;
}

PdfStreamBase& PdfStreamBase::operator<<(int value) {
    WriteInteger(*this, value);
    return *this;
}

PdfStreamBase& PdfStreamBase::operator<<(int64_t value) {
    WriteInteger(*this, value);
    return *this;
}

PdfStreamBase& PdfStreamBase::operator<<(double value) {
    // Written as a negated test so that NaN, which no viewer can read, is
    // refused along with the out-of-range values.
    if (!(value >= -kMaxReal && value <= kMaxReal))
        throw PdfException(PdfErrRange, "error: operator<<(const double d)[%f]\n.", value);
    // "%.5f" of anything within range needs at most 12 characters.
    char text[16];
    auto result = std::to_chars(text, text + sizeof(text), value, std::chars_format::fixed, 5);
    char* end = result.ptr;
    while (end - text > 1 && end[-1] == '0')
        --end;
    if (end - text > 1 && end[-1] == '.')
        --end;
    Write(text, static_cast<size_t>(end - text));
    return *this;
}
