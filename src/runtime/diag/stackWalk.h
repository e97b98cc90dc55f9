// Call stacks of the running process: captured as up to 16 code addresses,
// the format of the memory manager's location field and of the crash log.
//
// Walking needs the symboliser: without it a capture stays empty, so that
// stacks are either complete with names or absent, never bare numbers.
#pragma once

#include "runtime/platform/platform.h"

#include <cstdint>

// Entries of a captured stack; a capture that stops earlier is ended by a 0
// entry. Each entry is a full 64-bit address.
constexpr int kCapturedStackEntries = platform::kStackDepth;

// Loads the symboliser on the first call; 1 when it is ready, 0 otherwise.
// A failed load is not retried.
int debugHelpReady();

// Fills out (kCapturedStackEntries entries) with the current call stack,
// starting with the return address into the caller.
void captureStack(uint64_t* out);

// Fills out (kCapturedStackEntries entries) with the stack that starts at the
// given program counter and frame pointer, e.g. the registers of a faulting
// context on the current thread. Follows the frame-pointer chain while it
// looks sound and otherwise starts over with the unwinder.
void walkStack(uint64_t pc, uint64_t framePointer, uint64_t* out);
