// Stream-style appending for building log lines:
//   line << "frame " << depth << " at " << file;
#pragma once

#include "runtime/str/str.h"

#include <cstdint>

str& operator<<(str& out, uint32_t value);  // "%u"
str& operator<<(str& out, uint16_t value);  // "%d"
str& operator<<(str& out, int32_t value);   // "%d"
str& operator<<(str& out, const str& text);
str& operator<<(str& out, const char* text);  // null appends nothing
