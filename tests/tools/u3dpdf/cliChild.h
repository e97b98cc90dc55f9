// The built u3dpdf as a child process of the test, for what a shell line
// cannot do: a terminal as its standard output or error, and a signal at a
// chosen moment of its work.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct cliChildOptionsS {
    std::vector<std::string> args;
    // TMPDIR of the child.
    std::filesystem::path tmpdir;
    std::filesystem::path in = "/dev/null";
    // Files for standard output and error; empty: the terminal.
    std::filesystem::path out;
    std::filesystem::path err;
    // The terminal's width.
    unsigned short columns = 80;
};

class cliChildC {
public:
    explicit cliChildC(const cliChildOptionsS& options);
    // Kills and reaps a child that is still running.
    ~cliChildC();
    cliChildC(const cliChildC&) = delete;
    cliChildC& operator=(const cliChildC&) = delete;

    pid_t pid() const { return pid_; }
    // Waits for the child to end; its wait status.
    int wait();
    // The bytes the child wrote to its terminal (raw: no line end
    // translation), all of them once wait() returned.
    const std::string& terminal() const { return terminal_; }

    // Stops the child over and over, and while it stands still asks
    // moment(); when that says yes, sends the signal and lets the child go
    // on. The child runs about a millisecond between two looks, so a moment
    // that lasts longer than that cannot slip past, unless the test itself
    // waits for a core meanwhile (a loaded machine). False when the child
    // ended before the moment was seen.
    bool signalAt(int signal, const std::function<bool()>& moment);
    // Opens the named pipe at path for writing once the child has opened it
    // for reading; -1 when the child ended first.
    int openForWriting(const std::filesystem::path& path);
    // The targets of the child's open file descriptors, as /proc shows them.
    std::vector<std::string> openFiles() const;

private:
    void readTerminal();
    bool ended();

    pid_t pid_ = -1;
    int master_ = -1;
    int status_ = 0;
    bool ended_ = false;
    std::string terminal_;
};

// "SIGINT", "SIGTERM", "SIGKILL": the names in the tests' traces.
std::string signalName(int signal);
