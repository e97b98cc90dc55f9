// The operating-system calls of the command-line host, and nothing else:
// loading a shared library, finding the running executable, making a
// private temporary file and running a child process. hostPosix.cpp and hostWin32.cpp implement them.
#pragma once

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

}  // namespace hostPlatform
