#include "hostProcess.h"

#include <dlfcn.h>
#include <sys/wait.h>

#include <cstdio>

std::string shellQuoted(const std::string& word) {
    std::string out = "'";
    for (char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

commandResultS runCommand(const std::string& command) {
    commandResultS result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buf[4096];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, pipe)) > 0)
        result.output.append(buf, got);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

void* openModule(const char* path, std::string& error) {
    void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!module)
        error = dlerror();
    return module;
}

void* moduleSymbol(void* module, const char* name) { return dlsym(module, name); }

bool closeModule(void* module) { return dlclose(module) == 0; }

bool moduleHolds(void* module, const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0)
        return false;
    void* owner = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    if (owner)
        dlclose(owner);
    return owner == module;
}

commandResultS runProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::vector<envChangeS>& env) {
    std::string command = "env";
    for (const envChangeS& change : env)
        command += change.value ? " " + change.name + "=" + shellQuoted(*change.value) : " -u " + change.name;
    command += " " + shellQuoted(program);
    for (const std::string& arg : args)
        command += " " + shellQuoted(arg);
    return runCommand(command);
}

std::string buildMachinePath(const std::filesystem::path& path) { return path.string(); }

bool qpdfAvailable() { return U3DPDF_QPDF[0] != '\0'; }

commandResultS runQpdf(const std::vector<std::string>& args) {
    if (!qpdfAvailable())
        return {};
    std::string command = shellQuoted(U3DPDF_QPDF);
    for (const std::string& arg : args)
        command += " " + shellQuoted(arg);
    return runCommand(command);
}
