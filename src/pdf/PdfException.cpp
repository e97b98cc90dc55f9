#include "pdf/PdfException.h"

#include <cstdarg>
#include <cstdio>

PdfException::PdfException(int code, const char* format, ...) : m_code(code) {
    va_list args;
    va_start(args, format);
    // vsnprintf cuts the text and always terminates it.
    std::vsnprintf(m_message, sizeof(m_message), format, args);
    va_end(args);
}
