// The files an interruption removes, in storage that a signal handler may
// read: fixed arrays, written only inside an interruptHoldC, so the handler
// never sees a path half written.
#pragma once

#include <cstddef>
#include <string>

namespace interruptSlots {

constexpr int kCount = 16;
constexpr size_t kPathSize = 4096;

// Stores path in a free slot; its number, or -1 when the path does not fit
// or no slot is free.
int claim(const std::string& path);
void clear(int slot);
// Calls remove with every registered path. Async-signal-safe when remove is.
void forEach(void (*remove)(const char* path));

}  // namespace interruptSlots

// One line for an interruption by the named event ("SIGINT", "Ctrl-C"),
// with its line end, in caller storage: formatted inside the handler.
size_t interruptLine(const char* event, char* out, size_t size);
