// The file name of the module that holds the runtime's code, as the
// diagnostics print it: the code tracking log's file name and the headers of
// the memory reports.
#pragma once

// The name without directory, found once; the decimal value of a code
// address of the module when no loaded module contains it.
const char* diagModuleName();
