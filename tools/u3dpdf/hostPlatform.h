// The operating-system calls of the command-line host, and nothing else:
// loading a shared library, finding the running executable, making private
// temporary files and links, asking about the terminal and running a child
// process. hostPosix.cpp and hostWin32.cpp implement them.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace hostPlatform {

// The full path of the running executable with symbolic links resolved;
// empty when the system cannot tell.
std::string executablePath();

// The shared library at path (a file path, relative to the working
// directory or absolute, never a name to search for), or null with the
// loader's reason in error.
void* openLibrary(const std::string& path, std::string& error);
// The address of an exported symbol, or null.
void* findSymbol(void* library, const char* name);
void closeLibrary(void* library);

// The directory for temporary files: TMPDIR when it is set and not empty,
// else "/tmp" (on Win32 the system's temporary directory).
std::string temporaryDirectory();
// The same rule in the words of the help text.
#ifdef _WIN32
#define U3DPDF_TEMPORARY_DIRECTORY_RULE "%TMPDIR% (or the system's temporary directory\n" \
    "when TMPDIR is not set)"
#else
#define U3DPDF_TEMPORARY_DIRECTORY_RULE "$TMPDIR (or /tmp when TMPDIR is not set)"
#endif

// The permissions a new file gets from fopen: 0666 less the umask (0666 on
// Win32, which knows only read-only or not).
unsigned newFilePermissions();

// Creates a new empty file "<dir>/<prefix>XXXXXX<suffix>" that no other
// process can have claimed, readable and writable by the user only; its
// path, or empty when it cannot be created (errno tells why).
std::string createTemporaryFile(const std::string& dir, const char* prefix, const char* suffix);

// How a child process ended: its exit status, or why there is none.
struct childResultS {
    bool exited = false;  // false: it could not start, or a signal ended it
    int status = 0;       // the exit status when it exited
    std::string errorOutput;  // what it wrote on standard error
    std::string failure;      // why it did not exit, when it did not
};

// Runs `program` with the arguments (not including the program itself) and
// waits for it; its standard error is captured, standard input and output
// are this process's. Safe to call from several threads at once: no child
// inherits another child's pipe.
childResultS runChild(const std::string& program, const std::vector<std::string>& args);
// A new hard link "<dir>/<prefix>XXXXXX<suffix>" to the file at target, a
// name no other process can have claimed; its path, or empty when the
// system or the file system refuses (errno tells why).
std::string createHardLink(const std::string& target, const std::string& dir, const char* prefix,
                           const char* suffix);

// A file that this process reaches through a path of the view's own, not a
// name in any directory, while the view is open (Linux: "/proc/self/fd/N").
// Nothing is left to remove however the process ends, even by SIGKILL, and
// removing the view's path cannot remove the file.
struct fileViewS {
    std::FILE* file = nullptr;
    std::string path;
};
// A view of the existing file at path, open for reading; false where the
// system has no such paths (errno tells why).
bool openFileView(const std::string& path, fileViewS& view);
// A new file in dir that has no name at all, open for writing; false where
// the system or the file system has no such files.
bool createUnnamedFile(const std::string& dir, fileViewS& view);
void closeFileView(fileViewS& view);

// The id of this process.
unsigned long processId();

// Whether the stream is a terminal (a console on Windows).
bool isTerminal(std::FILE* stream);
// The width of the terminal the stream is, in columns; 0 when unknown.
size_t terminalColumns(std::FILE* stream);
// Makes the stream pass bytes unchanged (Windows' text mode would turn
// every LF into CR LF).
void setBinaryMode(std::FILE* stream);

}  // namespace hostPlatform
