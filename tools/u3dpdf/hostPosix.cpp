#include "hostPlatform.h"

#include "runtime/platform/platform.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern char** environ;

namespace hostPlatform {

std::string executablePath() {
    // realpath resolves every link on the way, including the one that
    // /proc/self/exe itself is.
    char resolved[PATH_MAX];
    if (!realpath("/proc/self/exe", resolved))
        return {};
    return resolved;
}

void* openLibrary(const std::string& path, std::string& error) {
    // RTLD_LOCAL: the module's symbols must not satisfy anything else in
    // the process; RTLD_NOW: a module with unresolved symbols is refused
    // here, not half-way through a conversion.
    // A name without a slash would be looked up in the library search path;
    // the user means the file in the working directory.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* reason = dlerror();
        error = reason ? reason : "unknown loader error";
    }
    return library;
}

void* findSymbol(void* library, const char* name) { return dlsym(library, name); }

void closeLibrary(void* library) { dlclose(library); }

std::string temporaryDirectory() {
    const char* dir = std::getenv("TMPDIR");
    return dir && *dir ? dir : "/tmp";
}

unsigned newFilePermissions() {
    // The umask can only be read by setting it; the command's threads
    // create no files meanwhile.
    const mode_t mask = umask(0);
    umask(mask);
    return 0666u & ~static_cast<unsigned>(mask);
}

std::string createTemporaryFile(const std::string& dir, const char* prefix, const char* suffix) {
    std::string pattern = dir + "/" + prefix + "XXXXXX" + suffix;
    std::vector<char> path(pattern.begin(), pattern.end());
    path.push_back('\0');
    const int fd = mkstemps(path.data(), static_cast<int>(std::strlen(suffix)));
    if (fd < 0)
        return {};
    close(fd);
    return path.data();
}

childResultS runChild(const std::string& program, const std::vector<std::string>& args) {
    childResultS result;
    // Close-on-exec: a child started by another thread at the same time
    // must not hold this pipe open, or reading it would wait for that child.
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        result.failure = std::string("cannot make a pipe: ") + std::strerror(errno);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The duplicate on descriptor 2 is not close-on-exec: the child keeps it.
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        result.failure = "cannot start " + program + ": " + std::strerror(spawned);
        return result;
    }
    char piece[4096];
    for (;;) {
        const ssize_t got = read(pipeEnds[0], piece, sizeof piece);
        if (got > 0)
            result.errorOutput.append(piece, static_cast<size_t>(got));
        else if (got == 0 || errno != EINTR)
            break;
    }
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) {
        result.exited = true;
        result.status = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.failure = std::string("ended by signal ") + std::to_string(WTERMSIG(status)) + " (" +
                         strsignal(WTERMSIG(status)) + ")";
    } else {
        result.failure = "ended without an exit status";
    }
    return result;
}

// mkstemp's rule for names, with link(2) claiming them atomically: a name
// that another process took first fails with EEXIST and the next is tried.
std::string createHardLink(const std::string& target, const std::string& dir, const char* prefix,
                           const char* suffix) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t state = static_cast<uint64_t>(now.tv_nsec) ^ (static_cast<uint64_t>(getpid()) << 32);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = dir + "/" + prefix;
        for (int i = 0; i < 6; ++i) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            path += kLetters[(state >> 33) % (sizeof kLetters - 1)];
        }
        path += suffix;
        if (link(target.c_str(), path.c_str()) == 0)
            return path;
        if (errno != EEXIST)
            return {};
    }
    return {};
}

namespace {

// Keeps a view whose path leads to its open file: without /proc mounted the
// path leads nowhere, or to another file.
bool keepIfReachable(fileViewS& view) {
    if (!view.file)
        return false;
    const int fd = fileno(view.file);
    view.path = "/proc/self/fd/" + std::to_string(fd);
    struct stat viewed, opened;
    if (stat(view.path.c_str(), &viewed) == 0 && fstat(fd, &opened) == 0 && viewed.st_ino == opened.st_ino &&
        viewed.st_dev == opened.st_dev)
        return true;
    closeFileView(view);
    errno = ENOENT;
    return false;
}

}  // namespace

bool openFileView(const std::string& path, fileViewS& view) {
    view.file = std::fopen(path.c_str(), "rbe");
    return keepIfReachable(view);
}

bool createUnnamedFile(const std::string& dir, fileViewS& view) {
    view.file = platform::createUnnamedFile(dir.c_str());
    return keepIfReachable(view);
}

void closeFileView(fileViewS& view) {
    if (view.file)
        std::fclose(view.file);
    view = fileViewS{};
}

unsigned long processId() { return static_cast<unsigned long>(getpid()); }

bool isTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }

size_t terminalColumns(std::FILE* stream) {
    winsize size{};
    if (ioctl(fileno(stream), TIOCGWINSZ, &size) != 0)
        return 0;
    return size.ws_col;
}

void setBinaryMode(std::FILE*) {}

}  // namespace hostPlatform
