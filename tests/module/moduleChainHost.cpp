// A host process for the manager chain tests: loads and unloads copies of
// libu3dpdf.so in the order its arguments give and prints, after each step,
// the chain as the process environment and the records show it. The chain
// lives in the environment of the process, so each run needs a process of
// its own.
//   module_chain_host STEP...
//     +PATH   dlopen the copy at PATH
//     -PATH   dlclose it
//     child   run the remaining steps in a new process started from this one
//             (fork and exec, so it inherits this process's environment),
//             wait for it and stop
// Each step prints one line of blank-separated fields:
//   pid=<process id> step=<step>
//   vars=<NAME>:<copy>;...   every QVDYNMGRV8_ variable, with the copy whose
//                             record its value names ("other" for none)
//   chain=<copy>,...          from the record that this process's variable
//                             names along next ("none" without one)
//   <copy>=head:<copy>,next:<copy>   each loaded copy's record
// Copies are named by their file names; "null" is a null link.
#include "runtime/diag/dynMgrChainS.h"

#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct loadedCopyS {
    std::string path;
    std::string name;
    void* handle = nullptr;
    dynMgrChainS* record = nullptr;  // found on the chain after loading
};

std::vector<loadedCopyS> g_copies;

// The loaded copy whose file holds the address, or null. dladdr looks only
// at the process's own mappings, so any address may be asked about.
loadedCopyS* copyHolding(const void* address) {
    Dl_info info{};
    if (address == nullptr || dladdr(address, &info) == 0 || info.dli_fname == nullptr)
        return nullptr;
    for (loadedCopyS& copy : g_copies)
        if (copy.path == info.dli_fname)
            return &copy;
    return nullptr;
}

std::string nameOf(const dynMgrChainS* record) {
    if (record == nullptr)
        return "null";
    const loadedCopyS* copy = copyHolding(record);
    return copy != nullptr ? copy->name : "other";
}

struct chainVariableS {
    std::string name;
    dynMgrChainS* record;  // null unless it names a record of a loaded copy
};

std::vector<chainVariableS> chainVariables() {
    std::vector<chainVariableS> found;
    const char* const prefix = "QVDYNMGRV8_";
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, prefix, std::strlen(prefix)) != 0)
            continue;
        const char* equals = std::strchr(*entry, '=');
        if (equals == nullptr)
            continue;
        void* address = reinterpret_cast<void*>(std::strtoull(equals + 1, nullptr, 16));
        chainVariableS variable{std::string(*entry, static_cast<size_t>(equals - *entry)), nullptr};
        if (copyHolding(address) != nullptr)
            variable.record = static_cast<dynMgrChainS*>(address);
        found.push_back(variable);
    }
    return found;
}

// The records of the loaded copies, found along every chain that a variable
// of this process leads to.
void findRecords() {
    for (const chainVariableS& variable : chainVariables())
        for (dynMgrChainS* record = variable.record; record != nullptr; record = record->next)
            if (loadedCopyS* copy = copyHolding(record))
                copy->record = record;
}

void printState(const std::string& step) {
    std::string vars, chain;
    for (const chainVariableS& variable : chainVariables()) {
        vars += (vars.empty() ? "" : ";") + variable.name + ":" +
                (variable.record != nullptr ? nameOf(variable.record) : "other");
        for (const dynMgrChainS* record = variable.record; record != nullptr; record = record->next)
            chain += (chain.empty() ? "" : ",") + nameOf(record);
    }
    std::printf("pid=%d step=%s vars=%s chain=%s", static_cast<int>(getpid()), step.c_str(),
                vars.empty() ? "none" : vars.c_str(), chain.empty() ? "none" : chain.c_str());
    for (const loadedCopyS& copy : g_copies) {
        if (copy.record == nullptr)
            std::printf(" %s=unfound", copy.name.c_str());
        else
            std::printf(" %s=head:%s,next:%s", copy.name.c_str(), nameOf(copy.record->head).c_str(),
                        nameOf(copy.record->next).c_str());
    }
    std::printf("\n");
    std::fflush(stdout);
}

bool load(const std::string& path) {
    loadedCopyS copy;
    copy.path = path;
    copy.name = path.substr(path.rfind('/') + 1);
    copy.handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (copy.handle == nullptr) {
        std::fprintf(stderr, "%s\n", dlerror());
        return false;
    }
    g_copies.push_back(copy);
    findRecords();
    return true;
}

bool unload(const std::string& path) {
    for (auto copy = g_copies.begin(); copy != g_copies.end(); ++copy) {
        if (copy->path != path)
            continue;
        const int closed = dlclose(copy->handle);
        g_copies.erase(copy);
        return closed == 0;
    }
    std::fprintf(stderr, "not loaded: %s\n", path.c_str());
    return false;
}

int runChild(char* self, char** steps) {
    std::vector<char*> args{self};
    for (char** step = steps; *step != nullptr; ++step)
        args.push_back(*step);
    args.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        execv(self, args.data());
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return 2;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        if (step == "child")
            return runChild(argv[0], argv + i + 1);
        const bool done = step.size() > 1 && ((step[0] == '+' && load(step.substr(1))) ||
                                              (step[0] == '-' && unload(step.substr(1))));
        if (!done) {
            std::fprintf(stderr, "step failed: %s\n", step.c_str());
            return 2;
        }
        printState(step);
    }
    return 0;
}
