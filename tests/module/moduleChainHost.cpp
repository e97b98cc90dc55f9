// A host process for the manager chain tests: loads and unloads copies of
// the module (libu3dpdf.so, u3dpdf.dll) in the order its arguments give and
// prints, after each step, the chain as the process environment and the
// records show it. The chain lives in the environment of the process, so
// each run needs a process of its own.
//   module_chain_host STEP...
//     +PATH        load the copy at PATH
//     -PATH        unload it
//     check:PATH   ask every chained copy for its memory check, through the
//                  chain record's table as another module would, and append
//                  the reports to the file at PATH
//     break-heap   (Windows) damage the header of a block of a heap of the
//                  process and print the block as "broken=<16 hex digits>"
//     child        run the remaining steps in a new process started from this
//                  one (so it inherits this process's environment), wait for
//                  it and stop
// Each step prints one line of blank-separated fields:
//   pid=<process id> step=<step>
//   vars=<NAME>:<copy>;...   every QVDYNMGRV8_ variable, with the copy whose
//                             record its value names ("other" for none and
//                             for the variables of other processes)
//   chain=<copy>,...          from the record that this process's variable
//                             names along next ("none" without one)
//   <copy>=head:<copy>,next:<copy>   each loaded copy's record
// Copies are named by their file names; "null" is a null link.
#include "support/hostProcess.h"
#include "runtime/diag/dynMgrChainS.h"
#include "runtime/platform/platform.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#if !defined(_WIN32)
extern char** environ;
#endif

namespace {

struct loadedCopyS {
    std::string path;
    std::string name;
    void* handle = nullptr;
    dynMgrChainS* record = nullptr;  // found on the chain after loading
};

std::vector<loadedCopyS> g_copies;

// The loaded copy whose image holds the address, or null. The loader looks
// only at the process's own modules, so any address may be asked about.
loadedCopyS* copyHolding(const void* address) {
    if (address == nullptr)
        return nullptr;
    for (loadedCopyS& copy : g_copies)
        if (moduleHolds(copy.handle, address))
            return &copy;
    return nullptr;
}

// "NAME=value" for every variable of the process. On Windows the modules
// share the system's environment block, which the C runtime's copy does not
// follow.
std::vector<std::string> environmentEntries() {
    std::vector<std::string> entries;
#if defined(_WIN32)
    char* strings = GetEnvironmentStringsA();
    for (const char* p = strings; *p != '\0'; p += std::strlen(p) + 1)
        entries.emplace_back(p);
    FreeEnvironmentStringsA(strings);
#else
    for (char** entry = environ; *entry != nullptr; ++entry)
        entries.emplace_back(*entry);
#endif
    return entries;
}

std::string nameOf(const dynMgrChainS* record) {
    if (record == nullptr)
        return "null";
    const loadedCopyS* copy = copyHolding(record);
    return copy != nullptr ? copy->name : "other";
}

struct chainVariableS {
    std::string name;
    // Null unless it is this process's variable and names a record of a
    // loaded copy. Another process's variable that a child inherited names
    // an address of that process, even where a copy of this one happens to
    // lie at the same address (Windows loads a DLL at the same base in
    // every process).
    dynMgrChainS* record;
};

std::vector<chainVariableS> chainVariables() {
    std::vector<chainVariableS> found;
    const std::string prefix = "QVDYNMGRV8_";
    char ownName[kDynMgrVariableNameSize];
    dynMgrChainVariableName(ownName);
    for (const std::string& entry : environmentEntries()) {
        const size_t equals = entry.find('=');
        if (entry.compare(0, prefix.size(), prefix) != 0 || equals == std::string::npos)
            continue;
        void* address =
            reinterpret_cast<void*>(std::strtoull(entry.c_str() + equals + 1, nullptr, 16));
        chainVariableS variable{entry.substr(0, equals), nullptr};
        if (variable.name == ownName && copyHolding(address) != nullptr)
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
    std::printf("pid=%d step=%s vars=%s chain=%s", static_cast<int>(platform::processId()), step.c_str(),
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
    copy.name = std::filesystem::path(path).filename().string();
    std::string error;
    copy.handle = openModule(path.c_str(), error);
    if (copy.handle == nullptr) {
        std::fprintf(stderr, "%s\n", error.c_str());
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
        const bool closed = closeModule(copy->handle);
        g_copies.erase(copy);
        return closed;
    }
    std::fprintf(stderr, "not loaded: %s\n", path.c_str());
    return false;
}

// The memory check of every copy on the chain, as a module that is not
// itself on the chain sees it: each report comes through the output function.
std::string g_report;

void collectReport(const char* text) { g_report += text; }

bool checkMemory(const std::string& path) {
    g_report.clear();
    for (const chainVariableS& variable : chainVariables())
        for (dynMgrChainS* record = variable.record; record != nullptr; record = record->next)
            record->memoryCheck(collectReport);
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << g_report;
    return static_cast<bool>(out);
}

#if defined(_WIN32)
// A heap of its own, so that nothing else of the process trips over the
// damage; the process heaps include it.
bool breakHeap() {
    HANDLE heap = HeapCreate(0, 0, 0);
    auto* block = heap ? static_cast<unsigned char*>(HeapAlloc(heap, 0, 64)) : nullptr;
    if (block == nullptr)
        return false;
    std::memset(block - 8, 0x5a, 8);
    std::printf("broken=%016llX ",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(block)));
    return true;
}
#endif

int runChild(const char* self, char** steps) {
    std::vector<std::string> args;
    for (char** step = steps; *step != nullptr; ++step)
        args.emplace_back(*step);
    const commandResultS child = runProgram(self, args);
    std::fputs(child.output.c_str(), stdout);
    return child.status == 0 ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        if (step == "child")
            return runChild(argv[0], argv + i + 1);
        const bool done = step.size() > 1 && ((step[0] == '+' && load(step.substr(1))) ||
                                              (step[0] == '-' && unload(step.substr(1))) ||
                                              (step.rfind("check:", 0) == 0 &&
                                               checkMemory(step.substr(6)))
#if defined(_WIN32)
                                              || (step == "break-heap" && breakHeap())
#endif
                                              );
        if (!done) {
            std::fprintf(stderr, "step failed: %s\n", step.c_str());
            return 2;
        }
        printState(step);
    }
    return 0;
}
