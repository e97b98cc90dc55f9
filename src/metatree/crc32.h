// The standard reflected CRC-32 (polynomial 0xEDB88320), table-driven.
#pragma once

#include <cstddef>
#include <cstdint>

class crc32C {
public:
    // Feeds bytes; the register starts at all ones.
    void update(const void* bytes, size_t n);
    // The complemented register: the CRC of everything fed so far.
    uint32_t value() const { return ~register_; }

private:
    uint32_t register_ = 0xFFFFFFFFu;
};
