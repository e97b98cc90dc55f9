#include "runtime/str/strAppend.h"

str& operator<<(str& out, uint32_t value) { return out.append(str(static_cast<unsigned>(value))); }

str& operator<<(str& out, uint16_t value) { return out.append(str(static_cast<int>(value))); }

str& operator<<(str& out, int32_t value) { return out.append(str(static_cast<int>(value))); }

str& operator<<(str& out, const str& text) { return out.append(text); }

str& operator<<(str& out, const char* text) { return out.append(text); }
