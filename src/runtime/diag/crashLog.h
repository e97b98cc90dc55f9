// The crash log: one entry per fatal event, appended to "qvdbgcrash.log" in
// the temporary directory ("tmp", else "temp", else the platform's default).
// An entry is a first line
//   "Location <address>, Code <code> SEQ:<code bytes>"  or  "Location Unknown"
// followed by the frame lines of the stack (frameLines.h).
#pragma once

#include "runtime/platform/platform.h"

#include <cstdint>

// How long resolving the frames of one entry may take before the entry is
// finished with bare addresses (see platform::runGuarded).
constexpr unsigned kCrashSymbolSeconds = 5;

// Writes one entry; info is null when there is no faulting location. Uses
// only preallocated storage, so it can run inside a signal handler; one
// thread at a time writes, a fault inside the writing itself writes nothing.
// Silent when the file cannot be opened.
void writeCrashLog(const platform::CrashInfo* info, const uint64_t* stack);
