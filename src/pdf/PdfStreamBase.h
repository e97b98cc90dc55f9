// Output streams: the byte sinks that documents and objects write into.
#pragma once

#include <cstddef>
#include <cstdint>

// Counts every byte written, because the count is the file offset that the
// cross-reference table records for the next object. The operators write
// numbers in PDF syntax; they are independent of the process locale.
class PdfStreamBase {
public:
    // Largest magnitude of a real the writer accepts.
    static constexpr double kMaxReal = 32767;

    PdfStreamBase() = default;
    PdfStreamBase(const PdfStreamBase&) = delete;
    PdfStreamBase& operator=(const PdfStreamBase&) = delete;
    virtual ~PdfStreamBase() = default;

    // Writes length bytes and returns length; failures throw.
    size_t Write(const void* bytes, size_t length);
    // Bytes written so far.
    int64_t GetSize() const { return m_size; }

    PdfStreamBase& operator<<(const char* text);
    PdfStreamBase& operator<<(char c);
    PdfStreamBase& operator<<(unsigned value);
    PdfStreamBase& operator<<(int value);
    PdfStreamBase& operator<<(int64_t value);
    // At most five decimals, trailing zeros and point removed ("1", "0.5",
    // "12.34568"); -4 for a magnitude above kMaxReal or a NaN.
    PdfStreamBase& operator<<(double value);

protected:
    // Stores the bytes; returns how many were taken (always length: a sink
    // that cannot take them throws).
    virtual size_t WriteBytes(const void* bytes, size_t length) = 0;
    // For sinks that can drop their contents.
    void ResetSize() { m_size = 0; }

private:
    int64_t m_size = 0;
};
