#include "cliChild.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace fs = std::filesystem;

namespace {

// A terminal whose other side the test reads: raw, so that the bytes come
// as the child wrote them, and as wide as asked.
int openTerminal(unsigned short columns, int& slave) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        throw std::runtime_error("no pseudo-terminal");
    slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    termios mode{};
    tcgetattr(slave, &mode);
    cfmakeraw(&mode);
    tcsetattr(slave, TCSANOW, &mode);
    winsize size{};
    size.ws_row = 24;
    size.ws_col = columns;
    ioctl(master, TIOCSWINSZ, &size);
    fcntl(master, F_SETFL, O_NONBLOCK);
    return master;
}

}  // namespace

cliChildC::cliChildC(const cliChildOptionsS& options) {
    int slave = -1;
    if (options.out.empty() || options.err.empty())
        master_ = openTerminal(options.columns, slave);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, options.in.c_str(), O_RDONLY, 0);
    if (options.out.empty())
        posix_spawn_file_actions_adddup2(&actions, slave, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, options.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (options.err.empty())
        posix_spawn_file_actions_adddup2(&actions, slave, 2);
    else
        posix_spawn_file_actions_addopen(&actions, 2, options.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    std::vector<std::string> words = {U3DPDF_CLI};
    words.insert(words.end(), options.args.begin(), options.args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<std::string> variables;
    for (char** variable = environ; *variable; ++variable)
        if (std::strncmp(*variable, "TMPDIR=", 7) != 0)
            variables.push_back(*variable);
    variables.push_back("TMPDIR=" + options.tmpdir.string());
    std::vector<char*> envp;
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    const int spawned = posix_spawn(&pid_, U3DPDF_CLI, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    // Only the child holds the terminal now: its end is the end of the
    // terminal's output.
    if (slave >= 0)
        close(slave);
    if (spawned != 0)
        throw std::runtime_error(std::string("cannot start u3dpdf: ") + std::strerror(spawned));
}

cliChildC::~cliChildC() {
    if (!ended_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status_, 0);
    }
    if (master_ >= 0)
        close(master_);
}

void cliChildC::readTerminal() {
    char buffer[4096];
    ssize_t got;
    while ((got = read(master_, buffer, sizeof buffer)) > 0)
        terminal_.append(buffer, static_cast<size_t>(got));
}

int cliChildC::wait() {
    while (!ended_) {
        if (master_ < 0) {
            waitpid(pid_, &status_, 0);
            ended_ = true;
            break;
        }
        // Read while it runs: a full terminal would stop the child.
        pollfd readable{master_, POLLIN, 0};
        poll(&readable, 1, 10);
        readTerminal();
        ended();
    }
    if (master_ >= 0)
        readTerminal();
    return status_;
}

bool cliChildC::signalAt(int signal, const std::function<bool()>& moment) {
    for (;;) {
        kill(pid_, SIGSTOP);
        int status = 0;
        waitpid(pid_, &status, WUNTRACED);
        if (!WIFSTOPPED(status)) {
            status_ = status;
            ended_ = true;
            return false;
        }
        const bool now = moment();
        if (now)
            kill(pid_, signal);
        kill(pid_, SIGCONT);
        if (now)
            return true;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1);
        while (std::chrono::steady_clock::now() < until) {
        }
    }
}

bool cliChildC::ended() {
    if (!ended_)
        ended_ = waitpid(pid_, &status_, WNOHANG) == pid_;
    return ended_;
}

int cliChildC::openForWriting(const fs::path& path) {
    // Without a reader a non-blocking open fails (ENXIO) instead of waiting
    // for ever on a child that never opens the pipe.
    int fd;
    while ((fd = open(path.c_str(), O_WRONLY | O_NONBLOCK)) < 0) {
        if (errno != ENXIO || ended())
            return -1;
        sched_yield();
    }
    fcntl(fd, F_SETFL, 0);
    return fd;
}

std::vector<std::string> cliChildC::openFiles() const {
    std::vector<std::string> targets;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(pid_) + "/fd", ec)) {
        const fs::path target = fs::read_symlink(entry.path(), ec);
        if (!ec)
            targets.push_back(target.string());
    }
    return targets;
}

std::string signalName(int signal) {
    switch (signal) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    case SIGKILL:
        return "SIGKILL";
    default:
        return "signal " + std::to_string(signal);
    }
}
