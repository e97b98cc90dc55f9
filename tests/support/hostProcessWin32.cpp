#include "hostProcess.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

namespace {

// Quoted as the C runtime's command line parser reads it back: backslashes
// are literal except before a quote.
std::string quoted(const std::string& word) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

// The process's environment with the changes applied, as the block that
// CreateProcessA takes (sorted, as Windows keeps it).
std::string environmentBlock(const std::vector<envChangeS>& changes) {
    std::map<std::string, std::string> vars;
    char* strings = GetEnvironmentStringsA();
    for (const char* p = strings; *p; p += std::strlen(p) + 1) {
        const char* eq = std::strchr(p + 1, '=');  // "=C:=..." entries start with '='
        if (eq)
            vars[std::string(p, eq)] = eq + 1;
    }
    FreeEnvironmentStringsA(strings);
    for (const envChangeS& change : changes) {
        // Variable names are case-insensitive on Windows.
        for (auto it = vars.begin(); it != vars.end();)
            it = _stricmp(it->first.c_str(), change.name.c_str()) == 0 ? vars.erase(it) : ++it;
        if (change.value)
            vars[change.name] = *change.value;
    }
    std::string block;
    for (const auto& [name, value] : vars)
        block += name + "=" + value + '\0';
    return block + '\0';
}

commandResultS runWithOutput(const std::string& commandLine, const std::string* env) {
    commandResultS result;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return result;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    const BOOL started =
        CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0,
                       env ? const_cast<char*>(env->data()) : nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (started) {
        char buf[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buf, sizeof buf, &got, nullptr) && got > 0)
            result.output.append(buf, got);
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        if (GetExitCodeProcess(process.hProcess, &code))
            result.status = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    return result;
}

}  // namespace

void* openModule(const char* path, std::string& error) {
    HMODULE module = LoadLibraryA(path);
    if (!module)
        error = std::string("cannot load ") + path + " (error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void*>(module);
}

void* moduleSymbol(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

bool closeModule(void* module) { return FreeLibrary(static_cast<HMODULE>(module)) != 0; }

bool moduleHolds(void* module, const void* address) {
    HMODULE owner = nullptr;
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<const char*>(address), &owner) &&
           owner == static_cast<HMODULE>(module);
}

commandResultS runProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::vector<envChangeS>& env) {
    std::string line = quoted(program);
    for (const std::string& arg : args)
        line += " " + quoted(arg);
    const std::string block = environmentBlock(env);
    return runWithOutput(line, &block);
}

// Wine names the Unix file behind a Windows path through an export of its
// kernel32; on Windows itself there is no build machine path to give.
std::string buildMachinePath(const std::filesystem::path& path) {
    using unixNameF = char*(CDECL*)(const WCHAR*);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto unixName = reinterpret_cast<unixNameF>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")));
    if (!unixName)
        return path.string();
    char* name = unixName(std::filesystem::absolute(path).wstring().c_str());
    if (!name)
        return path.string();
    std::string result(name);
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// qpdf of the build machine checks the files the DLL wrote. Wine starts a
// Unix program through CreateProcessA but hands back neither a process
// handle nor the standard handles it was given, so neither the exit status
// nor the output would reach the test. ntdll's __wine_unix_spawnvp runs it
// and waits for its status; a shell in front of it sends the standard output
// into a file that the test then reads. On Windows itself qpdf is a program
// like any other, found through PATH.
bool qpdfAvailable() { return U3DPDF_QPDF[0] != '\0'; }

commandResultS runQpdf(const std::vector<std::string>& args) {
    if (!qpdfAvailable())
        return {};
    using unixSpawnF = LONG(CDECL*)(char* const argv[], int wait);
    auto unixSpawn = reinterpret_cast<unixSpawnF>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "__wine_unix_spawnvp")));
    if (!unixSpawn) {
        std::string line = "qpdf";
        for (const std::string& arg : args)
            line += " " + quoted(arg);
        return runWithOutput(line, nullptr);
    }
    char outputName[MAX_PATH];
    char directory[MAX_PATH];
    commandResultS result;
    if (!GetTempPathA(MAX_PATH, directory) || !GetTempFileNameA(directory, "qpd", 0, outputName))
        return result;
    std::vector<std::string> words = {"/bin/sh", "-c", "out=$1; shift; exec \"$@\" >\"$out\"", "sh",
                                      buildMachinePath(outputName), U3DPDF_QPDF};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    // The status is the program's exit status, or an NTSTATUS (negative)
    // when it could not be started.
    const LONG status = unixSpawn(argv.data(), TRUE);
    result.status = status < 0 ? -1 : static_cast<int>(status);
    std::ifstream output(outputName, std::ios::binary);
    result.output.assign(std::istreambuf_iterator<char>(output), std::istreambuf_iterator<char>());
    output.close();
    DeleteFileA(outputName);
    return result;
}
