#include "runtime/diag/frameLines.h"

#include "runtime/diag/stackWalk.h"

#include <cstring>

namespace {

// The runtime's own allocation and object management frames sit on top of
// every allocation stack; they would only hide the caller that matters. The
// first three are the names the host family gives those sources; this
// runtime keeps its allocator in src/runtime/memory/ (memPoolAllocatorC.cpp,
// memManSystemC.cpp, ...: "mem", but not "memman") and the module's global
// allocation operators in src/module/globalNewDelete.cpp, so those paths are
// left out as well. Matching is by substring and case-sensitive, as file
// names are on this platform.
const char* const kHiddenSources[] = {"dynobjmgr", "memman", "dynobjop", "src/runtime/memory/",
                                      "src/module/globalNewDelete"};

bool isHiddenSource(const char* file) {
    for (const char* hidden : kHiddenSources)
        if (strstr(file, hidden) != nullptr)
            return true;
    return false;
}

// Decides whether a resolved frame is shown, and with which line. A frame
// whose line lies in a hidden source is the runtime's own, unless that line
// is the allocator's code inlined into a caller (its fast paths are inline):
// the return address then belongs to the caller, whose frame is the one that
// matters. Such a frame is shown with the caller's line, the place where it
// called into the allocator: the first call site, going outwards through the
// inline expansions, that lies outside the hidden sources.
bool keepFrame(uint64_t lookup, platform::FrameInfo& info) {
    if (!isHiddenSource(info.file))
        return true;
    constexpr int kMaxDepth = 8;
    platform::CallSite sites[kMaxDepth];
    const int n = platform::inlineCallSites(lookup, sites, kMaxDepth);
    for (int i = 0; i < n; ++i) {
        if (isHiddenSource(sites[i].file))
            continue;
        fixedTextC file(info.file, sizeof info.file);
        file.append(sites[i].file);
        info.line = sites[i].line;
        return true;
    }
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
    const uint64_t lookup = exactPc ? address : address - 1;
    if (!platform::symbolize(lookup, scratch) || !keepFrame(lookup, scratch))
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

void frameLineCacheC::append(const uint64_t* stack, std::string& text) {
    const int n = capturedEntries(stack);
    for (int i = 0; i < n; ++i) {
        auto found = lines_.find(stack[i]);
        if (found == lines_.end()) {
            char buffer[kFrameLineCapacity];
            fixedTextC line(buffer, sizeof buffer);
            const bool shown = resolveFrameLine(stack[i], false, scratch_, line);
            found = lines_.emplace(stack[i], shown ? line.text() : "").first;
        }
        text += found->second;
    }
}
