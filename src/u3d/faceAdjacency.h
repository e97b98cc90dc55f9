// Which faces use each position of a mesh under progressive decoding.
#pragma once

#include <cstdint>
#include <vector>

namespace u3d {

// A set of faces per position, kept the way the format's progressive
// decoding defines it: a face joins the set of each position its corners
// name when it is added, leaves the set of the position it moves away
// from, and is in a set at most once.
//
// Each update looks at the sets of a few positions scattered over the mesh,
// so a set lives in one 64-byte record of its position: up to 14 faces
// there, the rest of a larger set (a pole, a fan, a position not yet split)
// in a list that the position keeps once it needed one. That costs 64
// bytes per position and reads one cache line per small set.
class faceAdjacencyC {
public:
    // Room for this many positions; grows geometrically, so that blocks
    // that each add a few thousand do not copy everything each time.
    void reserve(std::size_t positions);
    // The next position, with no faces yet.
    void addPosition() { sets_.push_back({}); }
    std::size_t positionCount() const { return sets_.size(); }
    // The face with the positions of its three corners (each below
    // positionCount()).
    void addFace(uint32_t face, const uint32_t corners[3]);
    // The face leaves the set of `from` and joins that of `to`.
    void moveFace(uint32_t face, uint32_t from, uint32_t to);
    // The faces using `position`, highest index first.
    void facesAt(uint32_t position, std::vector<uint32_t>& faces) const;
    uint32_t faceCount(uint32_t position) const { return sets_[position].count; }
    // A hint that the set of `position` is needed soon. Positions that an
    // update touches lie all over the mesh's arrays, and each waits for
    // memory: asked for together, early, the waits overlap.
    void prefetch(uint32_t position) const {
        if (position < sets_.size())
            __builtin_prefetch(&sets_[position]);
    }

private:
    static constexpr uint32_t kInline = 14;
    static constexpr uint32_t kNone = 0xFFFFFFFF;
    struct setS {
        uint32_t count = 0;
        uint32_t more = kNone;  // index into more_, once needed
        uint32_t faces[kInline];
    };

    bool contains(uint32_t position, uint32_t face) const;
    void insert(uint32_t position, uint32_t face);
    uint32_t& at(uint32_t position, uint32_t i);
    uint32_t at(uint32_t position, uint32_t i) const;

    std::vector<setS> sets_;
    // The faces of a set past its first kInline.
    std::vector<std::vector<uint32_t>> more_;
};

// Room for at least `size` elements, growing geometrically.
template <typename T>
void reserveGrowing(std::vector<T>& items, std::size_t size) {
    if (items.capacity() < size)
        items.reserve(size > 2 * items.capacity() ? size : 2 * items.capacity());
}

}  // namespace u3d
