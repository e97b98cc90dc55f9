// The interrupt guard with real signals, in a child process of the test:
// which files a signal removes, how the child ends, what a hold defers and
// what the guard leaves as it found it. The conversions that are
// interrupted are in cliInterruptTest.cpp; on Linux their files have no
// names, so the removal itself is shown here.
#include "cliRunner.h"
#include "interruptGuard.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

namespace {

namespace fs = std::filesystem;

// Runs body in a child whose standard error goes to err; its wait status.
template <typename Body>
int inChild(const fs::path& err, Body body) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        if (!std::freopen(err.c_str(), "w", stderr))
            _exit(100);
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

TEST(InterruptGuardTest, ASignalRemovesTheRegisteredFilesAndEndsTheProcessByIt) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        scratchDirS dir("guard");
        const int status = inChild(dir / "err.txt", [&] {
            const interruptGuardC guard;
            writeFile(dir / "first", "x");
            guardedFileC first((dir / "first").string());
            writeFile(dir / "released", "x");
            guardedFileC released((dir / "released").string());
            released.release();
            writeFile(dir / "unregistered", "x");
            std::optional<guardedFileC> second;
            {
                // Deferred until the second file is registered too.
                const interruptHoldC hold;
                kill(getpid(), signal);
                writeFile(dir / "reached", "x");
                writeFile(dir / "second", "x");
                second.emplace((dir / "second").string());
            }
            return 0;  // not reached: the signal ends the process
        });
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(directoryListing(dir.path), "err.txt reached released unregistered");
        EXPECT_EQ(readFile(dir / "err.txt"),
                  "u3dpdf: interrupted by " +
                      std::string(signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "SIGHUP") +
                      ", temporary files removed\n");
    }
}

TEST(InterruptGuardTest, AnIgnoredSignalStaysIgnoredAndTheHandlersBeforeComeBack) {
    scratchDirS dir("guardignored");
    const int status = inChild(dir / "err.txt", [&] {
        signal(SIGHUP, SIG_IGN);
        {
            const interruptGuardC guard;
            writeFile(dir / "kept", "x");
            guardedFileC kept((dir / "kept").string());
            kill(getpid(), SIGHUP);
            if (!fs::exists(dir / "kept"))
                return 1;
            kept.release();
        }
        struct sigaction hup {}, interrupt {};
        sigaction(SIGHUP, nullptr, &hup);
        sigaction(SIGINT, nullptr, &interrupt);
        return hup.sa_handler == SIG_IGN && interrupt.sa_handler == SIG_DFL ? 0 : 2;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(directoryListing(dir.path), "err.txt kept");
    EXPECT_EQ(readFile(dir / "err.txt"), "");
}

}  // namespace
