// The search queries of str: byte indices into the buffer, -1 when absent.
#include "runtime/str/str.h"

#include <cctype>
#include <cstring>

namespace {

int lowerByte(char c) { return std::tolower(static_cast<unsigned char>(c)); }

}  // namespace

int str::find(const char* needle) const {
    if (data() == nullptr || needle == nullptr) return -1;
    const char* hit = std::strstr(data(), needle);
    return hit != nullptr ? static_cast<int>(hit - data()) : -1;
}

int str::findChar(char c) const {
    for (int i = 0; i < length(); ++i)
        if (data()[i] == c) return i;
    return -1;
}

int str::findLastChar(char c) const {
    for (int i = length() - 1; i >= 0; --i)
        if (data()[i] == c) return i;
    return -1;
}

int str::findLast(const char* needle) const {
    if (data() == nullptr || needle == nullptr) return -1;
    // The empty text occurs last behind the final byte.
    if (needle[0] == '\0') return length();
    int last = -1;
    for (const char* hit = std::strstr(data(), needle); hit != nullptr; hit = std::strstr(hit + 1, needle))
        last = static_cast<int>(hit - data());
    return last;
}

int str::findCharNoCase(char c) const {
    int lower = lowerByte(c);
    if (lower == std::toupper(static_cast<unsigned char>(c))) return findChar(c);
    for (int i = 0; i < length(); ++i)
        if (lowerByte(data()[i]) == lower) return i;
    return -1;
}

int str::findNoCase(const char* needle) const {
    if (data() == nullptr || needle == nullptr) return -1;
    size_t n = std::strlen(needle);
    if (n == 1) return findCharNoCase(needle[0]);
    int len = length();
    for (int i = 0; i <= len && static_cast<size_t>(len - i) >= n; ++i) {
        size_t j = 0;
        while (j < n && lowerByte(data()[i + j]) == lowerByte(needle[j])) ++j;
        if (j == n) return i;
    }
    return -1;
}
