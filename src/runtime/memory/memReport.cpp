#include "runtime/memory/memReport.h"

#include "runtime/memory/memPoolAllocatorC.h"
#include "runtime/platform/platform.h"

#include <cstdio>
#include <cstring>

namespace {

memOutputFn g_outputFn = nullptr;
memAllocatorReportFn g_leakReport = nullptr;
memAllocatorReportFn g_doubleReleaseReport = nullptr;

void writePieces(const char* text) {
    memOutputFn fn = memOutputFunction();
    char piece[81];
    for (size_t left = std::strlen(text); left > 0;) {
        size_t n = left < 80 ? left : 80;
        std::memcpy(piece, text, n);
        piece[n] = '\0';
        fn(piece);
        text += n;
        left -= n;
    }
}

}  // namespace

void memSetOutputFunction(memOutputFn fn) { g_outputFn = fn; }

memOutputFn memOutputFunction() { return g_outputFn != nullptr ? g_outputFn : platform::debugOutput; }

void memSetLeakReport(memAllocatorReportFn fn) { g_leakReport = fn; }

memAllocatorReportFn memLeakReport() { return g_leakReport; }

void memSetDoubleReleaseReport(memAllocatorReportFn fn) { g_doubleReleaseReport = fn; }

memAllocatorReportFn memDoubleReleaseReport() { return g_doubleReleaseReport; }

void memReportWrite(const memPoolAllocatorC& allocator, const char* text) {
    const char* path = allocator.outputPath();
    if (path[0] == '\0') {
        writePieces(text);
        return;
    }
    // A report file that cannot be opened loses the report: the runtime
    // stays silent when it cannot write its files.
    if (std::FILE* file = std::fopen(path, "at+")) {
        std::fputs(text, file);
        std::fclose(file);
    }
}
