// The group tables of the memory reports: live blocks filed by requested
// size and type name. A report refills the current table; a snapshot keeps
// its own table for later comparisons.
#pragma once

#include "runtime/memory/memBlock.h"

#include <cstddef>

constexpr int kMemGroupCapacity = 1024;
constexpr size_t kMemGroupNameSize = 256;  // names of up to 255 characters

struct memGroupS {
    memBlockHeadS* block;          // header of the first block filed here
    int size;                      // requested size shared by the group
    char name[kMemGroupNameSize];  // type name shared by the group
    int count;                     // blocks in the group
    int matched;                   // set while comparing against a snapshot
};

struct memGroupTableS {
    memGroupS groups[kMemGroupCapacity] = {};
    int count = 0;

    void clear() { count = 0; }
    // Counts the block in the first group of its size and name, or opens a
    // new group for it. A block that would need a group beyond the table's
    // capacity is not filed; names are cut to 255 characters.
    void add(memBlockHeadS* block, int size, const char* name);
    // The first group of that size and name, null when there is none.
    memGroupS* find(int size, const char* name);
    void clearMatched();
};
