// The text buffer a memory report is built in before it is written.
//
// It grows geometrically: a detail report has a line per live block, and
// appending to an exact-size string would copy the whole report once per
// line. Its storage comes from the global allocation operators, which the
// report has pointed at the runtime heap for its run (memPoolReportScopeC).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class frameLineCacheC;

class memReportTextC {
public:
    memReportTextC& append(const char* text);
    memReportTextC& format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The address as "%p" prints it in reports (pointerText.h).
    memReportTextC& appendPointer(const void* pointer);

    // One line of a block:
    //   ["Id %6d,"]["Parent %6d,"]"Mem %6d, Cnt %6d, Name %s (%d) (0x%08p + 0x%04x)\n"
    // The id and parent parts are left out when negative; Mem is count x size.
    memReportTextC& blockLine(int32_t id, int32_t parent, int64_t size, int32_t count,
                              const char* name, const void* user, uint64_t offset);

    // The frame lines of a captured stack (frameLines.h).
    memReportTextC& appendFrames(frameLineCacheC& cache, const uint64_t* stack);

    const char* text() const { return text_.c_str(); }
    size_t length() const { return text_.size(); }

private:
    std::string text_;
};
