#include "runtime/diag/memGroupTableS.h"

#include <cstring>

namespace {

// Names compare as the table stores them, cut to its field.
bool sameName(const char (&stored)[kMemGroupNameSize], const char* name) {
    return std::strncmp(stored, name, kMemGroupNameSize - 1) == 0;
}

}  // namespace

memGroupS* memGroupTableS::find(int size, const char* name) {
    for (int i = 0; i < count; ++i)
        if (groups[i].size == size && sameName(groups[i].name, name))
            return &groups[i];
    return nullptr;
}

void memGroupTableS::add(memBlockHeadS* block, int size, const char* name) {
    if (memGroupS* group = find(size, name)) {
        ++group->count;
        return;
    }
    if (count >= kMemGroupCapacity)
        return;
    memGroupS& group = groups[count++];
    group.block = block;
    group.size = size;
    std::strncpy(group.name, name, kMemGroupNameSize - 1);
    group.name[kMemGroupNameSize - 1] = '\0';
    group.count = 1;
    group.matched = 0;
}

void memGroupTableS::clearMatched() {
    for (int i = 0; i < count; ++i)
        groups[i].matched = 0;
}
