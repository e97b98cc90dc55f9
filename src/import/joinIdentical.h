// Identical attribute values joined into one, so that a triangle soup (an
// STL file holds every corner of every triangle on its own) becomes an
// indexed mesh. Each attribute is joined on its own, as U3D indexes
// positions, normals and colours separately per corner: the corners of a
// faceted solid share their positions even where their normals differ.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

namespace meshimport {

namespace detail {

// A value's float bits, with -0 made 0 so that the two compare alike.
template <std::size_t kWords>
using joinKey = std::array<uint32_t, kWords>;

template <std::size_t kWords, typename T>
joinKey<kWords> keyOf(const T& value) {
    joinKey<kWords> key;
    // Word by word and unrolled, so that the key stays in registers: the
    // lookup reads it back at once, and whole-key reads of a key just
    // written word by word to memory would stall.
#pragma GCC unroll 4
    for (std::size_t i = 0; i < kWords; ++i) {
        uint32_t word;
        std::memcpy(&word, reinterpret_cast<const char*>(&value) + i * sizeof word, sizeof word);
        key[i] = word == 0x80000000u ? 0 : word;
    }
    return key;
}

// Word by word: std::array's == calls memcmp, which costs more than the
// lookup it guards.
template <std::size_t kWords>
bool sameKey(const joinKey<kWords>& a, const joinKey<kWords>& b) {
    bool same = true;
#pragma GCC unroll 4
    for (std::size_t i = 0; i < kWords; ++i)
        same &= a[i] == b[i];
    return same;
}

// Independent products, so that the words are hashed side by side; the
// table is indexed by the top bits, which every bit of a word reaches.
template <std::size_t kWords>
uint64_t hashOf(const joinKey<kWords>& key) {
    static_assert(kWords <= 4);
    constexpr uint64_t kOdd[] = {0x9E3779B97F4A7C15ull, 0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull,
                                 0xD6E8FEB86659FD93ull};
    uint64_t h = 0;
#pragma GCC unroll 4
    for (std::size_t i = 0; i < kWords; ++i)
        h ^= (key[i] + uint64_t(i)) * kOdd[i];
    return h * 0x94D049BB133111EBull;
}

}  // namespace detail

// Fills `distinct` with the distinct values of in[0..count) in first-seen
// order and returns, for each value, the index of its copy there. Out and
// In are the same number of floats (aiVector3D and u3d::vec3f, ...); values
// compare by their bits, with -0 taken as 0. No allocation per value: one
// open-addressing table, doubled when half full.
template <typename Out, typename In>
std::vector<uint32_t> joinIdentical(const In* in, std::size_t count, std::vector<Out>& distinct) {
    static_assert(sizeof(In) == sizeof(Out) && sizeof(Out) % sizeof(float) == 0);
    static_assert(std::is_trivially_copyable_v<In> && std::is_trivially_copyable_v<Out>);
    constexpr std::size_t kWords = sizeof(Out) / sizeof(float);
    using keyT = detail::joinKey<kWords>;
    // The slot holds the value itself beside its index, so that a lookup
    // touches one place in memory, not the slot and then the value.
    struct slotS {
        keyT key;
        uint32_t index;
    };
    constexpr uint32_t kEmpty = UINT32_MAX;
    // How far ahead a value's slot is fetched into the cache: a large mesh's
    // table is far bigger than the cache, and each lookup would otherwise
    // wait for memory on its own.
    constexpr std::size_t kAhead = 16;

    // Soups repeat each position about six times: start small, grow.
    unsigned bits = 10;
    while ((std::size_t(1) << bits) < count / 4)
        ++bits;
    std::vector<slotS> table(std::size_t(1) << bits, slotS{{}, kEmpty});
    // Filled as it goes rather than zeroed first: the array is as large as
    // the input, and a pass that only writes zeros is one more over it.
    std::vector<uint32_t> indexOf;
    indexOf.reserve(count);
    distinct.clear();

    // The slot that holds the key, or the empty one where it belongs.
    const auto find = [](std::vector<slotS>& slots, unsigned shift, const keyT& key) -> slotS& {
        const std::size_t mask = slots.size() - 1;
        std::size_t at = std::size_t(detail::hashOf(key) >> shift);
        while (slots[at].index != kEmpty && !detail::sameKey(slots[at].key, key))
            at = (at + 1) & mask;
        return slots[at];
    };
    keyT previous{};
    for (std::size_t i = 0; i < count; ++i) {
        const keyT key = detail::keyOf<kWords>(in[i]);
        // The corners of a face often repeat a value (an STL facet's normal
        // three times): no lookup for a repeat of the value before.
        if (i > 0 && detail::sameKey(key, previous)) {
            indexOf.push_back(indexOf.back());
            continue;
        }
        previous = key;
        const unsigned shift = 64 - bits;
        if (i + kAhead < count)
            __builtin_prefetch(&table[detail::hashOf(detail::keyOf<kWords>(in[i + kAhead])) >> shift]);
        slotS& slot = find(table, shift, key);
        if (slot.index == kEmpty) {
            slot = {key, uint32_t(distinct.size())};
            distinct.push_back(std::bit_cast<Out>(key));
        }
        indexOf.push_back(slot.index);
        if (2 * distinct.size() > table.size()) {
            ++bits;
            std::vector<slotS> grown(std::size_t(1) << bits, slotS{{}, kEmpty});
            for (const slotS& old : table)
                if (old.index != kEmpty)
                    find(grown, 64 - bits, old.key) = old;
            table.swap(grown);
        }
    }
    return indexOf;
}

}  // namespace meshimport
