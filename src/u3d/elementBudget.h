// A bound on what one block may claim to hold.
#pragma once

#include "u3d/bitReader.h"

#include <cstdint>
#include <string>

namespace u3d {

// Counts in a block (faces, positions, colours, resolution updates) are
// claims: the arithmetic coder can code a well predicted element in a
// tiny fraction of a bit, and a static context of one value in none, so
// the bits left cannot bound them exactly. Real files spend tens of bits
// per element; a block gets two elements per bit of its data (and a few
// to start with), which no real file comes near and which bounds both the
// memory and the time a forged count can cost. Each count is checked
// before anything is allocated or looped for it.
class elementBudgetC {
public:
    explicit elementBudgetC(const bitReaderC& block) : left_(2 * block.bitsLeft() + 1024), bytes_(block.bitsLeft() / 8) {}

    // Spends `count` elements; a formatError when the block cannot hold them.
    void spend(bitReaderC& block, uint64_t count, const char* what) {
        if (count > left_)
            block.fail(std::string(what) + " count " + std::to_string(count) + " is more than the block's " +
                       std::to_string(bytes_) + " bytes can hold");
        left_ -= count;
    }

private:
    uint64_t left_;
    uint64_t bytes_;
};

}  // namespace u3d
