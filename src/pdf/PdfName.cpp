#include "pdf/PdfName.h"

#include <cstring>

#include "pdf/PdfStreamBase.h"
#include "pdf/PdfSyntax.h"

namespace {

size_t CutLength(const char* text) {
    return text ? strnlen(text, PdfName::kMaxLength) : 0;
}

}  // namespace

void PdfName::SetValue(const char* value) {
    size_t length = CutLength(value);
    if (length)
        std::memcpy(m_value, value, length);
    m_value[length] = '\0';
}

bool PdfName::EqualTo(const char* text) const {
    size_t length = CutLength(text);
    return std::strlen(m_value) == length && std::memcmp(m_value, text ? text : "", length) == 0;
}

void PdfName::WriteToStream(PdfStreamBase& stream) {
    // Worst case: the solidus and three bytes for each escaped byte.
    char out[1 + 3 * kMaxLength];
    size_t n = 0;
    out[n++] = '/';
    for (const char* p = m_value; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (PdfIsRegularByte(c)) {
            out[n++] = static_cast<char>(c);
        } else {
            out[n++] = '#';
            out[n++] = PdfHexDigit(c >> 4);
            out[n++] = PdfHexDigit(c);
        }
    }
    stream.Write(out, n);
}
