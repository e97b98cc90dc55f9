#include "metatree/metaTreeTextSource.h"

#include <cstring>

namespace {

constexpr size_t kPieceBytes = 64 * 1024;

}  // namespace

void metaTreeTextSourceC::openText(const char* text) {
    stream_ = nullptr;
    pos_ = text ? text : "";
    end_ = pos_ + std::strlen(pos_);
}

void metaTreeTextSourceC::openStream(std::FILE* stream) {
    stream_ = stream;
    if (piece_.bytes() == 0)
        piece_.allocate(kPieceBytes);
    pos_ = end_ = piece_.data();
}

int metaTreeTextSourceC::refill() {
    if (!stream_ || std::feof(stream_) || std::ferror(stream_))
        return kEnd;
    const size_t n = std::fread(piece_.data(), 1, kPieceBytes, stream_);
    if (n == 0)
        return kEnd;
    pos_ = piece_.data();
    end_ = pos_ + n;
    return static_cast<unsigned char>(*pos_++);
}

bool metaTreeTextSourceC::atEnd() const {
    if (!stream_)
        return true;
    return std::feof(stream_) && !std::ferror(stream_);
}
