// Where the allocator's reports go: appended to the report file when one is
// configured (QVMEMTRACK_OUTPUT), otherwise handed to the output function in
// pieces of at most 80 bytes.
#pragma once

class memPoolAllocatorC;

using memOutputFn = void (*)(const char* text);

// Replaces the output function; null restores the default (the platform's
// debugger output).
void memSetOutputFunction(memOutputFn fn);
memOutputFn memOutputFunction();

// Writes one report text to the destination configured for the allocator.
void memReportWrite(const memPoolAllocatorC& allocator, const char* text);

// The leak report written at shutdown when QVMEMTRACK_LEAK is set; the
// diagnostics register it, the allocator only knows when to run it.
using memLeakReportFn = void (*)(memPoolAllocatorC& allocator);
void memSetLeakReport(memLeakReportFn fn);
memLeakReportFn memLeakReport();

// Reports the release of an already released block: "free called on free
// object", "stack track :" and the frame lines of the releasing call stack.
void memReportDoubleRelease(memPoolAllocatorC& allocator);
