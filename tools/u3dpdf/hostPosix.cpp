#include "hostPlatform.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
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

}  // namespace hostPlatform
