// POSIX implementation of the platform services: clocks, identities, module
// names, environment, stack capture, memory probing and standard error.
//
// The pooled allocator calls into this file (stack capture, counters), so
// nothing here may allocate through operator new: files are read with plain
// read() into fixed buffers and every result goes into caller storage.
#include "runtime/platform/platform.h"
#include "runtime/platform/posixWriteAll.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>
#include <unwind.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform {

// ---- clocks and identities -------------------------------------------------

namespace {

constexpr uint64_t kNanosPerSecond = 1000000000ull;
constexpr uint64_t kWallUnitsPerSecond = 10000000ull;  // 100-ns units

// Reads up to size - 1 bytes of a small /proc file into buf and terminates
// it; returns the number of bytes read, or -1 when the file cannot be read.
ssize_t readSmallFile(const char* path, char* buf, size_t size) {
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    size_t used = 0;
    while (used + 1 < size) {
        ssize_t got = read(fd, buf + used, size - 1 - used);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        used += static_cast<size_t>(got);
    }
    close(fd);
    buf[used] = '\0';
    return static_cast<ssize_t>(used);
}

// Field 22 of /proc/self/stat: the start time in clock ticks after boot. The
// command name (field 2) may hold blanks and parentheses, so fields are
// counted from the last ')'.
bool processStartTicks(uint64_t& ticks) {
    char buf[1024];
    if (readSmallFile("/proc/self/stat", buf, sizeof buf) <= 0)
        return false;
    const char* p = strrchr(buf, ')');
    if (!p)
        return false;
    // p points at the end of field 2; field 3 follows after a blank.
    for (int field = 2; field < 22; ++field) {
        p = strchr(p + 1, ' ');
        if (!p)
            return false;
    }
    char* end = nullptr;
    ticks = strtoull(p + 1, &end, 10);
    return end != p + 1;
}

// The "btime" line of /proc/stat: boot time in seconds since the epoch. The
// file grows with the number of processors, so it is scanned in pieces and
// a line cut by a piece boundary is carried over.
bool bootTimeSeconds(uint64_t& seconds) {
    int fd = open("/proc/stat", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buf[4096];
    size_t kept = 0;
    bool found = false;
    for (;;) {
        ssize_t got = read(fd, buf + kept, sizeof buf - 1 - kept);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        size_t used = kept + static_cast<size_t>(got);
        buf[used] = '\0';
        char* line = buf;
        char* nl;
        while ((nl = strchr(line, '\n')) != nullptr) {
            *nl = '\0';
            if (strncmp(line, "btime ", 6) == 0) {
                seconds = strtoull(line + 6, nullptr, 10);
                found = true;
                break;
            }
            line = nl + 1;
        }
        if (found)
            break;
        kept = used - static_cast<size_t>(line - buf);
        if (kept == sizeof buf - 1)
            kept = 0;  // a line longer than the buffer is no btime line
        memmove(buf, line, kept);
    }
    close(fd);
    return found;
}

}  // namespace

uint64_t counter() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * kNanosPerSecond + static_cast<uint64_t>(ts.tv_nsec);
}

uint64_t counterFrequency() { return kNanosPerSecond; }

uint64_t wallClock() {
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * kWallUnitsPerSecond +
           static_cast<uint64_t>(ts.tv_nsec) / 100;
}

LocalTime toLocalTime(uint64_t wallClockValue) {
    time_t seconds = static_cast<time_t>(wallClockValue / kWallUnitsPerSecond);
    tm parts;
    LocalTime out{0, 0, 0, 0};
    if (!localtime_r(&seconds, &parts))
        return out;
    out.hour = parts.tm_hour;
    out.minute = parts.tm_min;
    out.second = parts.tm_sec;
    out.millisecond = static_cast<int>(wallClockValue % kWallUnitsPerSecond / 10000);
    return out;
}

void sleepMilliseconds(int milliseconds) {
    if (milliseconds <= 0)
        return;
    timespec left{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

uint32_t threadId() { return static_cast<uint32_t>(gettid()); }

uint32_t processId() { return static_cast<uint32_t>(getpid()); }

uint64_t processStartTime() {
    // Computed once per process; the id check makes a forked child compute
    // its own value instead of inheriting its parent's.
    static pid_t cachedFor = 0;
    static uint64_t cached = 0;
    pid_t self = getpid();
    if (cachedFor == self)
        return cached;
    uint64_t ticks = 0;
    uint64_t boot = 0;
    long hz = sysconf(_SC_CLK_TCK);
    if (processStartTicks(ticks) && bootTimeSeconds(boot) && hz > 0) {
        // In wall clock units, so that it reads like a creation time.
        const uint64_t perTick = kWallUnitsPerSecond / static_cast<uint64_t>(hz);
        cached = boot * kWallUnitsPerSecond + ticks * perTick;
    } else {
        // Without /proc the first call stands in for the start; it is stable
        // for the rest of the process's life all the same.
        cached = wallClock();
    }
    cachedFor = self;
    return cached;
}

// ---- modules and files -----------------------------------------------------

bool modulePath(const void* address, char* buf, size_t size) {
    if (!buf || size == 0)
        return false;
    Dl_info info;
    link_map* map = nullptr;
    if (!dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) || !map)
        return false;
    // The main program's link map carries no name; dladdr substitutes argv[0],
    // which may be relative, so the kernel's view of the executable is used.
    if (map->l_name == nullptr || map->l_name[0] == '\0') {
        ssize_t n = readlink("/proc/self/exe", buf, size);
        if (n <= 0 || static_cast<size_t>(n) >= size)
            return false;
        buf[n] = '\0';
        return true;
    }
    size_t len = strlen(map->l_name);
    if (len >= size)
        return false;
    memcpy(buf, map->l_name, len + 1);
    return true;
}

bool moduleFileName(const void* address, char* buf, size_t size) {
    char path[4096];
    if (!buf || !modulePath(address, path, sizeof path))
        return false;
    const char* slash = strrchr(path, '/');
    const char* name = slash ? slash + 1 : path;
    size_t len = strlen(name);
    if (len >= size)
        return false;
    memcpy(buf, name, len + 1);
    return true;
}

bool canRead(const char* path) { return path && access(path, R_OK) == 0; }

std::FILE* createNewFile(const char* path) { return std::fopen(path, "wbx"); }

// An open file never keeps a POSIX file from being deleted.
std::FILE* openForReading(const char* path) { return std::fopen(path, "rb"); }

namespace {

// An open file as a path: the only way to give an unnamed file a name
// without privileges (linkat with AT_EMPTY_PATH needs CAP_DAC_READ_SEARCH).
struct fdPathS {
    explicit fdPathS(int fd) { std::snprintf(text, sizeof text, "/proc/self/fd/%d", fd); }
    char text[32];
};

}  // namespace

std::FILE* createUnnamedFile(const char* dir) {
#ifdef O_TMPFILE
    // The mode of a file that fopen creates: 0666 less the umask.
    const int fd = open(dir, O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    // Without /proc the file could never get its name.
    if (access(fdPathS(fd).text, F_OK) != 0) {
        close(fd);
        errno = EOPNOTSUPP;
        return nullptr;
    }
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        const int error = errno;
        close(fd);
        errno = error;
    }
    return file;
#else
    (void)dir;
    errno = EOPNOTSUPP;
    return nullptr;
#endif
}

bool nameUnnamedFile(std::FILE* file, const char* path) {
    if (std::fflush(file) != 0)
        return false;
    return linkat(AT_FDCWD, fdPathS(fileno(file)).text, AT_FDCWD, path, AT_SYMLINK_FOLLOW) == 0;
}

const char* defaultTempDirectory() { return "/tmp"; }

// ---- environment -------------------------------------------------------------

const char* getEnv(const char* name) { return name ? getenv(name) : nullptr; }

void setEnv(const char* name, const char* value) {
    if (!name)
        return;
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

// ---- stacks ------------------------------------------------------------------

namespace {

struct StackWalkState {
    uint64_t* out;
    int max;
    int skip;  // frames still to drop before recording starts
    int count;
};

_Unwind_Reason_Code recordFrame(_Unwind_Context* context, void* arg) {
    auto* state = static_cast<StackWalkState*>(arg);
    uintptr_t ip = _Unwind_GetIP(context);
    if (ip == 0)
        return _URC_END_OF_STACK;
    if (state->skip > 0) {
        --state->skip;
        return _URC_NO_REASON;
    }
    if (state->count >= state->max)
        return _URC_END_OF_STACK;
    state->out[state->count++] = ip;
    return _URC_NO_REASON;
}

}  // namespace

// The unwinder reports captureStack's own frame first (the return address of
// _Unwind_Backtrace), then the frame of its caller F (the return address of
// this call), then F's caller: that third frame is where the capture starts,
// so two frames plus the requested ones are dropped. Kept out of line so the
// count holds in every build.
__attribute__((noinline)) int captureStack(uint64_t* out, int max, int skip) {
    if (!out || max <= 0)
        return 0;
    StackWalkState state{out, max, 2 + (skip > 0 ? skip : 0), 0};
    _Unwind_Backtrace(recordFrame, &state);
    if (state.count < max)
        out[state.count] = 0;
    return state.count;
}

namespace {

// Copies one piece that lies within a single page, so that it is either
// readable as a whole or not at all. The kernel does the reading, which
// cannot fault, also inside a signal handler: process_vm_readv on this
// process, or, where that call is refused (seccomp), write() into a pipe,
// which fails with EFAULT instead of faulting.
bool copyPiece(const char* from, char* to, size_t len, int* pipeFds) {
    iovec local{to, len};
    iovec remote{const_cast<char*>(from), len};
    ssize_t got = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
    if (got >= 0)
        return static_cast<size_t>(got) == len;
    if (errno == EFAULT)
        return false;
    if (pipeFds[0] < 0 && pipe2(pipeFds, O_CLOEXEC) != 0)
        return false;
    if (write(pipeFds[1], from, len) != static_cast<ssize_t>(len))
        return false;
    return read(pipeFds[0], to, len) == static_cast<ssize_t>(len);
}

}  // namespace

size_t readMemory(const void* address, void* out, size_t n) {
    if (!address || !out || n == 0)
        return 0;
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const char* from = static_cast<const char*>(address);
    char* to = static_cast<char*>(out);
    int pipeFds[2] = {-1, -1};
    size_t done = 0;
    while (done < n) {
        size_t toPageEnd = page - reinterpret_cast<uintptr_t>(from + done) % page;
        size_t piece = n - done < toPageEnd ? n - done : toPageEnd;
        if (!copyPiece(from + done, to + done, piece, pipeFds))
            break;
        done += piece;
    }
    if (pipeFds[0] >= 0) {
        close(pipeFds[0]);
        close(pipeFds[1]);
    }
    return done;
}

namespace {

struct CodeSearch {
    uintptr_t address;
    bool found;
};

int findCodeSegment(dl_phdr_info* info, size_t, void* arg) {
    auto* search = static_cast<CodeSearch*>(arg);
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD || (segment.p_flags & PF_X) == 0)
            continue;
        const uintptr_t start = info->dlpi_addr + segment.p_vaddr;
        if (search->address >= start && search->address - start < segment.p_memsz) {
            search->found = true;
            return 1;
        }
    }
    return 0;
}

}  // namespace

// The loaded modules' program headers answer without a system call or a
// file read, which matters to reports that ask once per block.
bool isExecutable(const void* address) {
    CodeSearch search{reinterpret_cast<uintptr_t>(address), false};
    if (search.address == 0)
        return false;
    dl_iterate_phdr(findCodeSegment, &search);
    return search.found;
}

// ---- process heaps ------------------------------------------------------------

// Glibc offers no walk or validation of its heap that could report a broken
// block instead of aborting on it (mallinfo2 and malloc_info only add up
// statistics while trusting the very lists a check would doubt): there is
// nothing to report from here.
int checkProcessHeaps(HeapIssue*, int) { return 0; }

// ---- output -------------------------------------------------------------------

void debugOutput(const char* text) {
    if (text)
        writeAll(STDERR_FILENO, text, strlen(text));
}

}  // namespace platform
