#include "u3d/faceAdjacency.h"

#include <algorithm>
#include <functional>

namespace u3d {

void faceAdjacencyC::reserve(std::size_t positions, std::size_t faces) {
    reserveGrowing(head_, positions);
    reserveGrowing(counts_, positions);
    reserveGrowing(next_, faces * 3);
}

bool faceAdjacencyC::contains(uint32_t position, uint32_t face) const {
    for (uint32_t slot = head_[position]; slot != kEnd; slot = next_[slot])
        if (slot / 3 == face)
            return true;
    return false;
}

void faceAdjacencyC::link(uint32_t position, uint32_t slot) {
    next_[slot] = head_[position];
    head_[position] = slot;
    ++counts_[position];
}

void faceAdjacencyC::addFace(const uint32_t corners[3]) {
    const uint32_t face = static_cast<uint32_t>(next_.size() / 3);
    next_.insert(next_.end(), 3, kUnlinked);
    // A new face is in no set yet: it is in one already only through an
    // earlier corner at the same position.
    for (uint32_t k = 0; k < 3; ++k)
        if ((k < 1 || corners[k] != corners[0]) && (k < 2 || corners[k] != corners[1]))
            link(corners[k], face * 3 + k);
}

void faceAdjacencyC::moveFace(uint32_t face, uint32_t from, uint32_t to) {
    uint32_t* at = &head_[from];
    while (*at != kEnd && *at / 3 != face)
        at = &next_[*at];
    if (*at == kEnd)
        return;
    const uint32_t slot = *at;
    *at = next_[slot];
    next_[slot] = kUnlinked;
    --counts_[from];
    if (!contains(to, face))
        link(to, slot);
}

void faceAdjacencyC::facesAt(uint32_t position, std::vector<uint32_t>& faces) const {
    faces.clear();
    for (uint32_t slot = head_[position]; slot != kEnd; slot = next_[slot])
        faces.push_back(slot / 3);
    std::sort(faces.begin(), faces.end(), std::greater<>());
}

}  // namespace u3d
