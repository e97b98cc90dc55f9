// assimp's fixed-size strings as text.
#pragma once

#include <assimp/types.h>

#include <algorithm>
#include <string>

namespace meshimport {

// The string's own length, never past its buffer: a loader may leave the
// length of a name it copied from a broken file larger than the buffer.
inline std::string textOf(const aiString& s) {
    return std::string(s.data, std::min<std::size_t>(s.length, MAXLEN - 1));
}

}  // namespace meshimport
