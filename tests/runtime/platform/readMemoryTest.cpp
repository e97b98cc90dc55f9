#include "runtime/platform/platform.h"

#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "childProcess.h"

namespace {

// Two pages, the second unreadable, the first filled with a pattern.
struct GuardedPages {
    size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    char* base = nullptr;
    GuardedPages() {
        void* mem = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                         -1, 0);
        if (mem == MAP_FAILED)
            return;
        base = static_cast<char*>(mem);
        for (size_t i = 0; i < page; ++i)
            base[i] = static_cast<char>(i * 7 + 1);
        mprotect(base + page, page, PROT_NONE);
    }
    ~GuardedPages() {
        if (base)
            munmap(base, 2 * page);
    }
};

// Checks every readMemory case; returns the number of failures, so that a
// forked child can report it as its exit status.
int readMemoryFailures() {
    int failures = 0;
    GuardedPages pages;
    if (!pages.base)
        return 100;
    char out[64];
    memset(out, 0, sizeof out);
    // A read that runs into the unreadable page stops at its first byte.
    failures += platform::readMemory(pages.base + pages.page - 8, out, 16) != 8;
    failures += memcmp(out, pages.base + pages.page - 8, 8) != 0;
    failures += platform::readMemory(pages.base + pages.page, out, 16) != 0;
    failures += platform::readMemory(nullptr, out, 16) != 0;
    failures += platform::readMemory(pages.base, out, 0) != 0;
    // A whole readable page, crossing into it from another buffer.
    static char big[3 * 4096 + 10];
    for (size_t i = 0; i < sizeof big; ++i)
        big[i] = static_cast<char>(i);
    static char copy[sizeof big];
    failures += platform::readMemory(big, copy, sizeof big) != sizeof big;
    failures += memcmp(big, copy, sizeof big) != 0;
    return failures;
}

// Makes process_vm_readv fail with EPERM, as container seccomp profiles do.
bool refuseProcessVmReadv() {
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_process_vm_readv, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EPERM),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

}  // namespace

TEST(PlatformReadMemoryTest, CopiesUpToTheFirstUnreadableByte) {
    EXPECT_EQ(readMemoryFailures(), 0);
    // The same without process_vm_readv, through the pipe probe.
    ChildResult child = runChild([](int) {
        if (!refuseProcessVmReadv())
            return 99;
        if (process_vm_readv(getpid(), nullptr, 0, nullptr, 0, 0) != -1 || errno != EPERM)
            return 98;
        return readMemoryFailures();
    });
    ASSERT_TRUE(WIFEXITED(child.status));
    EXPECT_EQ(WEXITSTATUS(child.status), 0);
}

namespace {
int codeHere() { return 7; }
const int kData = 3;
}  // namespace

TEST(PlatformReadMemoryTest, ExecutableOnlyInsideCodeSegments) {
    EXPECT_TRUE(platform::isExecutable(reinterpret_cast<const void*>(&codeHere)));
    EXPECT_TRUE(platform::isExecutable(reinterpret_cast<const void*>(&memcpy)));  // libc
    int onStack = 0;
    EXPECT_FALSE(platform::isExecutable(&onStack));
    EXPECT_FALSE(platform::isExecutable(&kData));
    GuardedPages pages;
    ASSERT_NE(pages.base, nullptr);
    EXPECT_FALSE(platform::isExecutable(pages.base));
    EXPECT_FALSE(platform::isExecutable(nullptr));
}
