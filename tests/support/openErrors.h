// What the C runtime says when a directory is opened as a file for
// writing: EISDIR on POSIX, EACCES on Windows.
#pragma once

#include <cerrno>

#ifdef _WIN32
inline constexpr int kDirectoryOpenError = EACCES;
#else
inline constexpr int kDirectoryOpenError = EISDIR;
#endif
