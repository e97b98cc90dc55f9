#include "runtime/diag/fixedTextC.h"
#include "runtime/diag/frameLines.h"
#include "runtime/diag/stackWalk.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

#include "crashTestSupport.h"

void memmanCaptureStack(uint64_t* out);

namespace frame_lines_test {

const int kCallLine = __LINE__ + 2;
__attribute__((noinline)) void captureThroughMemman(uint64_t* out) {
    memmanCaptureStack(out);
    asm volatile("" ::: "memory");
}

}  // namespace frame_lines_test

namespace {

using namespace crash_test;

std::vector<std::string> linesOf(const char* text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace

TEST(FrameLinesTest, OneLinePerFrameButTheRuntimesOwn) {
    uint64_t stack[kCapturedStackEntries];
    frame_lines_test::captureThroughMemman(stack);
    const int n = capturedEntries(stack);
    ASSERT_GE(n, 3);

    str text;
    writeFrameLines(stack, text);
    const std::vector<std::string> lines = linesOf(text.text());
    // Only the frame in memmanFrameHelper.cpp is left out.
    ASSERT_EQ(lines.size(), static_cast<size_t>(n - 1)) << text.text();
    EXPECT_EQ(std::string(text.text()).find("memmanFrameHelper"), std::string::npos);
    for (const std::string& line : lines)
        EXPECT_TRUE(parseFrameLine(line)) << line;

    // The first line shown is the caller of the helper, named exactly.
    std::optional<FrameLine> first = parseFrameLine(lines[0]);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->file, __FILE__);
    EXPECT_EQ(first->line, frame_lines_test::kCallLine);
    EXPECT_EQ(first->symbol, "frame_lines_test::captureThroughMemman(unsigned long*)");
    EXPECT_EQ(first->address, static_cast<uint32_t>(stack[1]));
    EXPECT_EQ(first->module, executablePath());
    EXPECT_EQ(first->seq, hexBytes(stack[1], 8));

    // An empty capture gives no lines.
    uint64_t empty[kCapturedStackEntries] = {};
    str none;
    writeFrameLines(empty, none);
    EXPECT_EQ(none.length(), 0);
}

TEST(FrameLinesTest, UnknownFrameAndUnreadableCodeBytes) {
    // Two pages, the second unreadable: the code bytes stop where it starts.
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    auto* mem = static_cast<unsigned char*>(
        mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(mem, MAP_FAILED);
    ASSERT_EQ(mprotect(mem + page, page, PROT_NONE), 0);
    const unsigned char bytes[] = {0x00, 0x0f, 0xab, 0xcd, 0xef, 0x10, 0x7f, 0x80};
    memcpy(mem, bytes, sizeof bytes);
    memcpy(mem + page - 3, bytes + 2, 3);

    char buffer[kFrameLineCapacity];
    fixedTextC line(buffer, sizeof buffer);
    const platform::FrameInfo unknown{};
    const auto full = reinterpret_cast<uint64_t>(mem);
    formatFrameLine(full, unknown, line);
    EXPECT_EQ(std::string(line.text()),
              "no file(0) : unknwon (" + hex32(full) + " Modul: ) SEQ: 000fabcdef107f80\n");
    formatFrameLine(full + page - 3, unknown, line);
    EXPECT_EQ(std::string(line.text()),
              "no file(0) : unknwon (" + hex32(full + page - 3) + " Modul: ) SEQ: abcdef\n");
    formatFrameLine(full + page, unknown, line);
    EXPECT_EQ(std::string(line.text()),
              "no file(0) : unknwon (" + hex32(full + page) + " Modul: ) SEQ: \n");

    platform::FrameInfo known{};
    strcpy(known.file, "/src/a.cpp");
    known.line = -7;
    strcpy(known.symbol, "f(int)");
    strcpy(known.module, "/lib/m.so");
    formatFrameLine(0x12345678abcdef01ull, known, line);
    EXPECT_EQ(std::string(line.text()),
              "/src/a.cpp(-7) : f(int) (abcdef01 Modul: /lib/m.so) SEQ: \n");
    munmap(mem, 2 * page);
}

TEST(FrameLinesTest, FixedTextFormatsByHandAndNeverOverflows) {
    char buffer[64];
    fixedTextC text(buffer, sizeof buffer);
    text.appendDecimal(0).append(" ").appendDecimal(-42).append(" ").appendDecimal(INT64_MIN);
    text.append(" ").appendHex(0).append(" ").appendHex(0xbeef).append(" ").appendHexByte(7);
    EXPECT_STREQ(text.text(), "0 -42 -9223372036854775808 0 beef 07");

    char small[8];
    fixedTextC cut(small, sizeof small);
    cut.append("abcdef").appendHex(0x123);
    EXPECT_STREQ(cut.text(), "abcdef1");
    EXPECT_EQ(cut.length(), 7u);
    cut.clear();
    EXPECT_STREQ(cut.text(), "");
}
