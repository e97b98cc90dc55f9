#include "hostPlatform.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace hostPlatform {

namespace {

std::string systemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = n ? std::string(text, n) : "error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return message;
}

bool hasSeparator(const std::string& path) {
    return path.find_first_of("/\\") != std::string::npos;
}

// One argument as the C runtime's command-line parser reads it back:
// quoted when it has blanks or quotes, with the backslashes before a quote
// (and before the closing quote) doubled.
std::string quotedArgument(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
        return arg;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

// Where the random names of temporary files start.
uint64_t nameSeed() {
    LARGE_INTEGER seed;
    QueryPerformanceCounter(&seed);
    return static_cast<uint64_t>(seed.QuadPart) ^ (uint64_t(GetCurrentProcessId()) << 32);
}

// "<dir>\<prefix>XXXXXX<suffix>" with six random letters drawn from state.
std::string randomName(const std::string& dir, const char* prefix, const char* suffix, uint64_t& state) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string path = dir + "\\" + prefix;
    for (int i = 0; i < 6; ++i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        path += kLetters[(state >> 33) % (sizeof kLetters - 1)];
    }
    return path + suffix;
}

}  // namespace

std::string executablePath() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return {};
        if (n < path.size())
            return std::string(path.data(), n);
        path.resize(path.size() * 2);
    }
}

void* openLibrary(const std::string& path, std::string& error) {
    // A bare name would be looked up along the DLL search path; the user
    // means the file in the working directory.
    const std::string file = hasSeparator(path) ? path : ".\\" + path;
    // No error box for a module that cannot be loaded: the reason is
    // reported on the command line instead.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE library = LoadLibraryA(file.c_str());
    const DWORD code = GetLastError();
    SetErrorMode(previousMode);
    if (!library)
        error = file + ": " + systemMessage(code);
    return reinterpret_cast<void*>(library);
}

void* findSymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void closeLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

std::string temporaryDirectory() {
    const char* dir = std::getenv("TMPDIR");
    if (dir && *dir)
        return dir;
    char path[MAX_PATH + 1];
    const DWORD n = GetTempPathA(sizeof path, path);
    if (n == 0 || n >= sizeof path)
        return ".";
    std::string result(path, n);
    // Without the separator that GetTempPathA leaves at the end, as on POSIX.
    if (result.size() > 1 && (result.back() == '\\' || result.back() == '/'))
        result.pop_back();
    return result;
}

// Tries random names until claim(path) takes one: a name that another
// process took first fails and the next one is tried. The path, or empty
// with errno set (failure for a refusal other than a taken name).
template <typename Claim>
std::string claimRandomName(const std::string& dir, const char* prefix, const char* suffix, int failure,
                            Claim claim) {
    uint64_t state = nameSeed();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = randomName(dir, prefix, suffix, state);
        if (claim(path))
            return path;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
            errno = failure;
            return {};
        }
    }
    errno = EEXIST;
    return {};
}

childResultS runChild(const std::string& program, const std::vector<std::string>& args) {
    childResultS result;
    std::string commandLine = quotedArgument(program);
    for (const std::string& arg : args)
        commandLine += " " + quotedArgument(arg);

    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    PROCESS_INFORMATION process{};
    {
        // A child inherits every inheritable handle of the moment: the
        // write end is inheritable only while its own child starts, so that
        // no other child holds it open (its reader would wait for that one).
        static std::mutex starting;
        const std::lock_guard<std::mutex> lock(starting);
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
            result.failure = "cannot make a pipe: " + systemMessage(GetLastError());
            return result;
        }
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = writeEnd;
        std::vector<char> line(commandLine.begin(), commandLine.end());
        line.push_back('\0');
        const BOOL started = CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                            nullptr, &startup, &process);
        const DWORD code = GetLastError();
        CloseHandle(writeEnd);
        if (!started) {
            CloseHandle(readEnd);
            result.failure = "cannot start " + program + ": " + systemMessage(code);
            return result;
        }
    }
    char piece[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, piece, sizeof piece, &got, nullptr) && got > 0)
        result.errorOutput.append(piece, got);
    CloseHandle(readEnd);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    if (GetExitCodeProcess(process.hProcess, &status)) {
        result.exited = true;
        result.status = static_cast<int>(status);
    } else {
        result.failure = "ended without an exit status";
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

// CREATE_NEW claims a name atomically.
unsigned newFilePermissions() { return 0666; }

std::string createTemporaryFile(const std::string& dir, const char* prefix, const char* suffix) {
    return claimRandomName(dir, prefix, suffix, EACCES, [](const std::string& path) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(file);
        return true;
    });
}

std::string createHardLink(const std::string& target, const std::string& dir, const char* prefix,
                           const char* suffix) {
    return claimRandomName(dir, prefix, suffix, EXDEV, [&target](const std::string& path) {
        return CreateHardLinkA(path.c_str(), target.c_str(), nullptr) != FALSE;
    });
}

// Windows has no path that reaches an open file without its name, and no
// file without a name.
bool openFileView(const std::string&, fileViewS&) {
    errno = ENOSYS;
    return false;
}

bool createUnnamedFile(const std::string&, fileViewS&) {
    errno = ENOSYS;
    return false;
}

void closeFileView(fileViewS& view) { view = fileViewS{}; }

unsigned long processId() { return GetCurrentProcessId(); }

bool isTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

size_t terminalColumns(std::FILE* stream) {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))), &info))
        return 0;
    return static_cast<size_t>(info.srWindow.Right - info.srWindow.Left + 1);
}

void setBinaryMode(std::FILE* stream) { _setmode(_fileno(stream), _O_BINARY); }

}  // namespace hostPlatform
