#include "runtime/str/str.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

// Large enough for every integer and for "%.*g" up to precision 60.
constexpr size_t kNumberBuffer = 68;

}  // namespace

str::str(const str& other) : memManInterfaceC(), buffer_(other.buffer_) {}

str& str::operator=(const str& other) {
    buffer_.assign(other.buffer_);
    return *this;
}

str::str(const char* text) { assignText(text); }

str& str::operator=(const char* text) {
    // The text may be this string's own buffer: copy before releasing.
    if (text == nullptr) {
        buffer_.release();
    } else if (text != buffer_.data()) {
        str copy(text);
        buffer_.swap(copy.buffer_);
    }
    return *this;
}

str::str(const char* text, int from, int to) {
    size_t n = to > from ? static_cast<size_t>(to - from) : 0;
    compose({text + from, n}, {nullptr, 0});
}

str::str(int value) {
    char buf[kNumberBuffer];
    std::snprintf(buf, sizeof(buf), "%d", value);
    assignText(buf);
}

str::str(unsigned value) {
    char buf[kNumberBuffer];
    std::snprintf(buf, sizeof(buf), "%u", value);
    assignText(buf);
}

str::str(long value) {
    char buf[kNumberBuffer];
    std::snprintf(buf, sizeof(buf), "%ld", value);
    assignText(buf);
}

str::str(double value, int precision) {
    char buf[kNumberBuffer];
    std::snprintf(buf, sizeof(buf), "%.*g", precision, value);
    assignText(buf);
}

str::~str() = default;

void str::assignText(const char* text) {
    if (text == nullptr)
        buffer_.release();
    else
        buffer_.set(text, std::strlen(text) + 1);
}

void str::compose(pieceS a, pieceS b, pieceS c) {
    memManDataPoolC<char> joined;
    joined.allocate(a.n + b.n + c.n + 1);
    char* out = joined.data();
    for (const pieceS& piece : {a, b, c}) {
        if (piece.n == 0) continue;
        std::memcpy(out, piece.bytes, piece.n);
        out += piece.n;
    }
    *out = '\0';
    buffer_.swap(joined);
}

const char* str::text() const { return data() != nullptr ? data() : ""; }

bool str::less(const char* other) const {
    if (data() == nullptr) return other != nullptr;
    if (other == nullptr) return false;
    return std::strcmp(data(), other) < 0;
}

bool str::equals(const char* other) const {
    if (data() == nullptr) return other == nullptr || other[0] == '\0';
    if (other == nullptr) return length() == 0;
    return std::strcmp(data(), other) == 0;
}

bool str::greater(const char* other) const {
    if (data() == nullptr) return false;
    if (other == nullptr) return true;
    return std::strcmp(data(), other) > 0;
}

str str::substring(int pos, int n) const {
    // A start before the string cuts the range at its beginning.
    if (pos < 0) {
        n += pos;
        pos = 0;
    }
    int len = length();
    if (len <= 0 || n <= 0 || pos >= len) return str();
    if (n > len - pos) n = len - pos;
    return str(data(), pos, pos + n);
}

str str::operator+(const str& other) const { return *this + other.text(); }

str str::operator+(const char* other) const {
    str joined(*this);
    joined.append(other);
    return joined;
}

str& str::append(const char* text) {
    if (text == nullptr || text[0] == '\0') return *this;
    compose({data(), static_cast<size_t>(length())}, {text, std::strlen(text)});
    return *this;
}

str& str::appendBytes(const void* bytes, size_t n) {
    if (bytes == nullptr || n == 0) return *this;
    compose({data(), static_cast<size_t>(length())}, {static_cast<const char*>(bytes), n});
    return *this;
}

str& str::appendChar(char c) {
    compose({data(), static_cast<size_t>(length())}, {&c, 1});
    return *this;
}

void str::erase(int pos, int n) {
    int len = length();
    if (n <= 0 || pos >= len) return;
    if (pos < 0) {
        n += pos;
        pos = 0;
        if (n <= 0) return;
    }
    int end = n >= len - pos ? len : pos + n;
    if (pos == 0 && end == len) {
        // Erasing everything leaves the string without buffer, as the empty
        // pieces it is made of.
        buffer_.release();
        return;
    }
    compose({data(), static_cast<size_t>(pos)}, {data() + end, static_cast<size_t>(len - end)});
}

void str::insert(int pos, const char* text) {
    if (text == nullptr || text[0] == '\0') return;
    int len = length();
    if (pos < 0) pos = 0;
    if (pos > len) pos = len;
    compose({data(), static_cast<size_t>(pos)}, {text, std::strlen(text)},
            {data() + pos, static_cast<size_t>(len - pos)});
}

void str::trimLeading(char c) {
    int len = length();
    int count = 0;
    while (count < len && data()[count] == c) ++count;
    erase(0, count);
}

void str::trimTrailing(char c) {
    int len = length();
    int count = 0;
    while (count < len && data()[len - 1 - count] == c) ++count;
    erase(len - count, count);
}

void str::trim(char c) {
    trimLeading(c);
    trimTrailing(c);
}

void str::toUpper() {
    for (int i = 0; i < length(); ++i)
        data()[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(data()[i])));
}

void str::toLower() {
    for (int i = 0; i < length(); ++i)
        data()[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(data()[i])));
}

char* str::setRaw(int n) {
    if (n <= 0) return nullptr;
    buffer_.resize(static_cast<size_t>(n));
    // The caller writes its own terminator; until it does, the text still
    // ends inside the buffer.
    data()[n - 1] = '\0';
    return data();
}
