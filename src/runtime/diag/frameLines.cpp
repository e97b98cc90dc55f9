#include "runtime/diag/frameLines.h"

#include "runtime/diag/stackWalk.h"

#include <cstring>

namespace {

// The runtime's own allocation and object management frames sit on top of
// every allocation stack; they would only hide the caller that matters.
const char* const kHiddenSources[] = {"dynobjmgr", "memman", "dynobjop"};

bool isHiddenSource(const char* file) {
    for (const char* hidden : kHiddenSources)
        if (strstr(file, hidden) != nullptr)
            return true;
    return false;
}

}  // namespace

int capturedEntries(const uint64_t* stack) {
    int n = 0;
    while (n < kCapturedStackEntries && stack[n] != 0)
        ++n;
    return n;
}

void appendCodeBytes(uint64_t address, fixedTextC& text) {
    uint8_t bytes[8];
    const size_t n =
        platform::readMemory(reinterpret_cast<const void*>(address), bytes, sizeof bytes);
    for (size_t i = 0; i < n; ++i)
        text.appendHexByte(bytes[i]);
}

void formatFrameLine(uint64_t address, const platform::FrameInfo& info, fixedTextC& line) {
    line.clear();
    line.append(info.file[0] != '\0' ? info.file : "no file")
        .append("(")
        .appendDecimal(info.line)
        .append(") : ")
        .append(info.symbol[0] != '\0' ? info.symbol : "unknwon")
        .append(" (")
        .appendHex(address & 0xffffffffu)
        .append(" Modul: ")
        .append(info.module)
        .append(") SEQ: ");
    appendCodeBytes(address, line);
    line.append("\n");
}

bool resolveFrameLine(uint64_t address, bool exactPc, platform::FrameInfo& scratch,
                      fixedTextC& line) {
    if (!platform::symbolize(exactPc ? address : address - 1, scratch))
        return false;
    if (isHiddenSource(scratch.file))
        return false;
    formatFrameLine(address, scratch, line);
    return true;
}

void writeFrameLines(const uint64_t* stack, str& text) {
    platform::FrameInfo info;
    char buffer[kFrameLineCapacity];
    fixedTextC line(buffer, sizeof buffer);
    const int n = capturedEntries(stack);
    for (int i = 0; i < n; ++i)
        if (resolveFrameLine(stack[i], false, info, line))
            text.append(line.text());
}
