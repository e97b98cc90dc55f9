// Which faces use each position of a mesh under progressive decoding.
#pragma once

#include <cstdint>
#include <vector>

namespace u3d {

// A set of faces per position, kept the way the format's progressive
// decoding defines it: a face joins the set of each position its corners
// name when it is added, leaves the set of the position it moves away
// from, and is in a set at most once. Each set is a linked list threaded
// through one slot per face corner, so the whole structure costs 8 bytes
// per position and 12 per face, and nothing is allocated per update.
class faceAdjacencyC {
public:
    // Room for this many positions and faces; grows geometrically, so that
    // blocks that each add a few thousand do not copy everything each time.
    void reserve(std::size_t positions, std::size_t faces);
    // The next position, with no faces yet.
    void addPosition() {
        head_.push_back(kEnd);
        counts_.push_back(0);
    }
    std::size_t positionCount() const { return head_.size(); }
    // The next face, with the positions of its three corners (each below
    // positionCount()).
    void addFace(const uint32_t corners[3]);
    // The face leaves the set of `from` and joins that of `to`.
    void moveFace(uint32_t face, uint32_t from, uint32_t to);
    // The faces using `position`, highest index first.
    void facesAt(uint32_t position, std::vector<uint32_t>& faces) const;
    uint32_t faceCount(uint32_t position) const { return counts_[position]; }

private:
    static constexpr uint32_t kEnd = 0xFFFFFFFF;
    static constexpr uint32_t kUnlinked = 0xFFFFFFFE;

    bool contains(uint32_t position, uint32_t face) const;
    void link(uint32_t position, uint32_t slot);

    // The first slot of each position's list, or kEnd; the list's length.
    std::vector<uint32_t> head_;
    std::vector<uint32_t> counts_;
    // Per corner slot (face * 3 + corner): the next slot of the list it is
    // in, kEnd, or kUnlinked when it is in none.
    std::vector<uint32_t> next_;
};

// Room for at least `size` elements, growing geometrically.
template <typename T>
void reserveGrowing(std::vector<T>& items, std::size_t size) {
    if (items.capacity() < size)
        items.reserve(size > 2 * items.capacity() ? size : 2 * items.capacity());
}

}  // namespace u3d
