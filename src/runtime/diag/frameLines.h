// The frame lines of a captured stack, as the crash log and the memory
// reports print them:
//   "<file>(<line>) : <symbol> (<address> Modul: <module path>) SEQ: <code bytes>"
#pragma once

#include "runtime/diag/fixedTextC.h"
#include "runtime/platform/platform.h"
#include "runtime/str/str.h"

#include <cstdint>
#include <string>
#include <unordered_map>

// Room for the longest frame line: file and module paths of up to 1023
// bytes, a symbol of up to 255 and the fixed parts.
constexpr size_t kFrameLineCapacity = 2560;

// Appends one frame line per entry of the stack to text, leaving out frames
// of the runtime's own memory and object management sources. Nothing without
// the symboliser.
void writeFrameLines(const uint64_t* stack, str& text);

// The frame lines of many stacks that share most of their frames, such as
// the allocation stacks of a detail report: each address is resolved once
// (resolving costs tens of microseconds a frame).
class frameLineCacheC {
public:
    // Appends the frame lines of the stack to text, as writeFrameLines does.
    void append(const uint64_t* stack, std::string& text);

private:
    platform::FrameInfo scratch_;
    // The line of each address seen; empty when the frame is left out.
    std::unordered_map<uint64_t, std::string> lines_;
};

// The pieces, for the crash path that cannot allocate.

// Entries before the 0 entry that ends a shorter capture.
int capturedEntries(const uint64_t* stack);

// Appends the first 8 code bytes at address as lower-case hex digit pairs,
// ending early at the first byte that cannot be read.
void appendCodeBytes(uint64_t address, fixedTextC& text);

// Resolves a stack entry into scratch and formats its line; false when the
// frame is left out or the symboliser is unavailable. Entries are return
// addresses, looked up one byte earlier so that they name the call and not
// what follows it (for a call that never returns, that is another function);
// exactPc marks the address of a faulting instruction, looked up as it is.
bool resolveFrameLine(uint64_t address, bool exactPc, platform::FrameInfo& scratch,
                      fixedTextC& line);

// Formats the line of address from what is known about it (an empty info
// gives "no file(0) : unknwon ...").
void formatFrameLine(uint64_t address, const platform::FrameInfo& info, fixedTextC& line);
