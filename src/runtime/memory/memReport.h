// Where the allocator's reports go: appended to the report file when one is
// configured (QVMEMTRACK_OUTPUT), otherwise handed to the output function in
// pieces of at most 80 bytes.
//
// The allocator knows when a report is due but not how to write one: the
// texts need the string class and the frame lines of the diagnostics, which
// sit above the allocator. The diagnostics register the reports here
// (memTrackReportsStartup), so that nothing in the allocator refers upwards.
#pragma once

class memPoolAllocatorC;

using memOutputFn = void (*)(const char* text);

// Replaces the output function; null restores the default (the platform's
// debugger output).
void memSetOutputFunction(memOutputFn fn);
memOutputFn memOutputFunction();

// Writes one report text to the destination configured for the allocator.
void memReportWrite(const memPoolAllocatorC& allocator, const char* text);

using memAllocatorReportFn = void (*)(memPoolAllocatorC& allocator);

// The leak report written at shutdown when QVMEMTRACK_LEAK is set; without
// one registered, nothing is written.
void memSetLeakReport(memAllocatorReportFn fn);
memAllocatorReportFn memLeakReport();

// The report of the release of a block that is not live (released before,
// never handed out, or no block of the allocator): kMemDoubleReleaseText
// followed by the frame lines of the releasing call stack. Without one
// registered the allocator writes kMemDoubleReleaseText alone, as the
// report reads where no symboliser is available.
void memSetDoubleReleaseReport(memAllocatorReportFn fn);
memAllocatorReportFn memDoubleReleaseReport();

inline constexpr char kMemDoubleReleaseText[] = "free called on free object\nstack track :\n";
