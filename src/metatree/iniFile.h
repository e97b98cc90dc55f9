// Reading and writing INI files through the INIFILE layout of iniModel.h.
//
// A line "[name]" starts a section; a line "key=text" adds an entry to the
// current section (the key loses its surrounding spaces, the text is kept
// as it is); a line that starts with ";" is a comment. Lines without "=",
// and entries before the first section header, are ignored.
#pragma once

#include "metatree/iniModel.h"

// Longest line text the reader keeps. A longer line is truncated: its first
// kIniLineChars characters count, the rest up to its line feed is skipped,
// so the tail of a long value can never be mistaken for a header or entry.
constexpr int kIniLineChars = 8190;

// A handle owning a new INIFILE tree with FNAME set to the path; empty when
// the file is not readable or cannot be opened. A zero byte ends the text of
// its line.
iniFileC readIniFile(const char* path);
// Writes "[NAME]" for each section and "KEY=TEXT" for each of its entries,
// one per line ending in a line feed; FNAME is not written. 1 on success; 0
// for an empty handle, a file that cannot be opened (text mode, truncating)
// or a write that does not complete.
int writeIniFile(const metaObjectC& ini, const char* path);
