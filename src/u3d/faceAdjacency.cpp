#include "u3d/faceAdjacency.h"

#include <algorithm>
#include <functional>

namespace u3d {

void faceAdjacencyC::reserve(std::size_t positions) { reserveGrowing(sets_, positions); }

uint32_t& faceAdjacencyC::at(uint32_t position, uint32_t i) {
    setS& set = sets_[position];
    return i < kInline ? set.faces[i] : more_[set.more][i - kInline];
}

uint32_t faceAdjacencyC::at(uint32_t position, uint32_t i) const {
    const setS& set = sets_[position];
    return i < kInline ? set.faces[i] : more_[set.more][i - kInline];
}

bool faceAdjacencyC::contains(uint32_t position, uint32_t face) const {
    const uint32_t count = sets_[position].count;
    for (uint32_t i = 0; i < count; ++i)
        if (at(position, i) == face)
            return true;
    return false;
}

void faceAdjacencyC::insert(uint32_t position, uint32_t face) {
    setS& set = sets_[position];
    if (set.count < kInline) {
        set.faces[set.count] = face;
    } else {
        if (set.more == kNone) {
            set.more = static_cast<uint32_t>(more_.size());
            more_.emplace_back();
        }
        more_[set.more].push_back(face);
    }
    ++set.count;
}

void faceAdjacencyC::addFace(uint32_t face, const uint32_t corners[3]) {
    // A new face is in no set yet: it is in one already only through an
    // earlier corner at the same position.
    for (uint32_t k = 0; k < 3; ++k)
        if ((k < 1 || corners[k] != corners[0]) && (k < 2 || corners[k] != corners[1]))
            insert(corners[k], face);
}

void faceAdjacencyC::moveFace(uint32_t face, uint32_t from, uint32_t to) {
    setS& set = sets_[from];
    for (uint32_t i = 0; i < set.count; ++i)
        if (at(from, i) == face) {
            // The last face takes its place.
            at(from, i) = at(from, set.count - 1);
            --set.count;
            if (set.count >= kInline)
                more_[set.more].pop_back();
            if (!contains(to, face))
                insert(to, face);
            return;
        }
}

void faceAdjacencyC::facesAt(uint32_t position, std::vector<uint32_t>& faces) const {
    const setS& set = sets_[position];
    faces.assign(set.faces, set.faces + std::min(set.count, kInline));
    if (set.count > kInline)
        faces.insert(faces.end(), more_[set.more].begin(), more_[set.more].end());
    // Sets are a handful of faces: sorted in place by insertion.
    for (std::size_t i = 1; i < faces.size(); ++i)
        for (std::size_t j = i; j > 0 && faces[j - 1] < faces[j]; --j)
            std::swap(faces[j - 1], faces[j]);
}

}  // namespace u3d
