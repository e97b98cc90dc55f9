// Runs a piece of a test in a forked child, for behaviour that ends or
// reshapes the process (fatal signals, seccomp filters, signal handlers).
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <string>

struct ChildResult {
    int status = 0;       // as from waitpid
    std::string output;   // what the child wrote to its report pipe
};

// body(fd) runs in the child with the write end of the report pipe; the child
// leaves with _exit(body's result) if body returns.
template <typename Body>
ChildResult runChild(Body body) {
    ChildResult result;
    int fds[2];
    if (pipe(fds) != 0)
        return result;
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        _exit(body(fds[1]));
    }
    close(fds[1]);
    char buf[256];
    ssize_t got;
    while ((got = read(fds[0], buf, sizeof buf)) > 0)
        result.output.append(buf, static_cast<size_t>(got));
    close(fds[0]);
    waitpid(pid, &result.status, 0);
    return result;
}
