#include "runtime/memory/memReport.h"

#include "runtime/diag/frameLines.h"
#include "runtime/diag/stackWalk.h"
#include "runtime/memory/memPoolAllocatorC.h"
#include "runtime/platform/platform.h"
#include "runtime/str/str.h"

#include <cstdio>
#include <cstring>

namespace {

memOutputFn g_outputFn = nullptr;
memLeakReportFn g_leakReport = nullptr;

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

void memSetLeakReport(memLeakReportFn fn) { g_leakReport = fn; }

memLeakReportFn memLeakReport() { return g_leakReport; }

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

// The stack starts at the caller of this function; the allocator's own
// frames on top of it are left out of the listing (frameLines.h), so the
// first line shown is the code that released the block.
void memReportDoubleRelease(memPoolAllocatorC& allocator) {
    // The report must not change the pools whose misuse it describes.
    memPoolBypassScopeC bypass(allocator);
    uint64_t stack[kCapturedStackEntries];
    captureStack(stack);
    str text("free called on free object\nstack track :\n");
    writeFrameLines(stack, text);
    memReportWrite(allocator, text.text());
}
