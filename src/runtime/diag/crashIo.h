// The few operating-system services the crash path needs beyond the platform
// layer: appending to a file and pausing, all of them async-signal-safe
// (plain system calls, no allocation, no stdio). POSIX only; they belong
// behind the platform layer once it offers them.
#pragma once

#include <cstddef>

// Opens (creating it when needed) a file for appending; -1 when it cannot be
// opened.
int crashIoOpenAppend(const char* path);
// Writes all n bytes unless the file refuses them.
void crashIoWrite(int fd, const char* text, size_t n);
void crashIoClose(int fd);
void crashIoPause(int milliseconds);
