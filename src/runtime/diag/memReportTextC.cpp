#include "runtime/diag/memReportTextC.h"

#include "runtime/diag/frameLines.h"
#include "runtime/diag/pointerText.h"

#include <cstdarg>
#include <cstdio>

memReportTextC& memReportTextC::append(const char* text) {
    text_ += text;
    return *this;
}

memReportTextC& memReportTextC::format(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    const int n = vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0)
        return *this;
    if (static_cast<size_t>(n) < sizeof buffer) {
        text_.append(buffer, static_cast<size_t>(n));
        return *this;
    }
    // Longer than the buffer (a long type name): formatted again in place.
    const size_t start = text_.size();
    text_.resize(start + static_cast<size_t>(n) + 1);
    va_start(args, format);
    vsnprintf(&text_[start], static_cast<size_t>(n) + 1, format, args);
    va_end(args);
    text_.resize(start + static_cast<size_t>(n));
    return *this;
}

memReportTextC& memReportTextC::appendPointer(const void* pointer) {
    char text[kPointerTextSize];
    formatPointer(pointer, text);
    return append(text);
}

memReportTextC& memReportTextC::appendFrames(frameLineCacheC& cache, const uint64_t* stack) {
    cache.append(stack, text_);
    return *this;
}

// Sizes are printed as the 64-bit values they are: a block can outgrow
// "%d" on this platform, and the text is the same for every size that fits.
memReportTextC& memReportTextC::blockLine(int32_t id, int32_t parent, int64_t size, int32_t count,
                                          const char* name, const void* user, uint64_t offset) {
    if (id >= 0)
        format("Id %6d,", id);
    if (parent >= 0)
        format("Parent %6d,", parent);
    format("Mem %6lld, Cnt %6d, Name %s (%lld) (0x", static_cast<long long>(size * count), count,
           name, static_cast<long long>(size));
    appendPointer(user);
    return format(" + 0x%04llx)\n", static_cast<unsigned long long>(offset));
}
