// Sinks and helpers shared by the PDF writer tests.
#pragma once

#include <string>
#include <utility>

#include "pdf/PdfException.h"
#include "pdf/PdfObject.h"
#include "pdf/PdfStreamBase.h"

// Keeps everything written, to compare with expected bytes.
class StringSink : public PdfStreamBase {
public:
    std::string data;

protected:
    size_t WriteBytes(const void* bytes, size_t length) override {
        if (length)
            data.append(static_cast<const char*>(bytes), length);
        return length;
    }
};

// Only counts: Write(nullptr, n) moves the offset on by n bytes without
// storing anything, so offsets of many gigabytes cost nothing.
class CountingSink : public PdfStreamBase {
protected:
    size_t WriteBytes(const void*, size_t length) override { return length; }
};

inline std::string Written(PdfObject& object) {
    StringSink sink;
    object.WriteToStream(sink);
    return sink.data;
}

inline std::string WrittenReal(double value) {
    StringSink sink;
    sink << value;
    return sink.data;
}

using PdfError = std::pair<int, std::string>;

// Code and message of the PdfException that f throws; {0, ""} when none.
template <class F>
PdfError CatchPdf(F&& f) {
    try {
        f();
    } catch (const PdfException& e) {
        return {e.GetCode(), e.what()};
    }
    return {0, ""};
}
