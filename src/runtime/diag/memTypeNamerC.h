// Type names of blocks for the memory reports.
//
// Without QVMEMTRACK_TYPEINFO every block is "unk". With it, the block's
// first word is read as an object's table pointer: when that leads to a
// readable table whose first entry is the start of a function in a loaded
// module, the block is named after the class of that function, from the
// symboliser ("class" when it has no name for it); anything else is "array".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

class memTypeNamerC {
public:
    explicit memTypeNamerC(bool typeInfo) : typeInfo_(typeInfo) {}

    // The name of a live block of size bytes whose data is readable at data
    // (the block itself, or a copy of a block outside the pools); the text
    // stays valid as long as the namer.
    const char* name(const void* data, size_t size);

    // A symbol's class: the name without its parameter list, up to its last
    // "::" outside template arguments; the whole name when there is no such
    // "::" or it starts the name.
    static std::string classOf(const char* symbol);

private:
    std::string nameOfTable(uintptr_t table);

    bool typeInfo_;
    // Objects of one class share their table: each is looked up once per
    // report.
    std::unordered_map<uintptr_t, std::string> byTable_;
};
