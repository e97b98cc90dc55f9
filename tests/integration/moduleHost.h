// What the tests need to act as a host of libu3dpdf.so: loading it and
// finding its entry points by name, building request trees with the host's
// own copy of the meta tree code, and looking at files and commands.
#pragma once

#include "expectedPdf.h"
#include "hostProcess.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class metaTreeC;

using getCapsF = metaTreeC* (*)();
using convertMetaTreeF = int (*)(metaTreeC* data, uintptr_t fncPointer);

// The module, loaded as a host loads it; unloaded on destruction.
struct loadedModuleS {
    loadedModuleS();
    ~loadedModuleS();
    loadedModuleS(const loadedModuleS&) = delete;
    loadedModuleS& operator=(const loadedModuleS&) = delete;

    void* handle = nullptr;
    getCapsF getCaps = nullptr;
    convertMetaTreeF convertMetaTree = nullptr;
};

// A fresh directory of this process, removed afterwards.
struct scratchDirS {
    explicit scratchDirS(const char* tag);
    ~scratchDirS();
    std::filesystem::path operator/(const char* name) const { return path / name; }
    std::filesystem::path path;
};

// A request as hosts fill it: OUTPUTLOCATION and one input record MODEL
// with FILENAME and the box.
std::unique_ptr<metaTreeC> conversionRequest(const std::filesystem::path& output,
                                             const std::filesystem::path& u3d, const boxS& box);

// Appends ENTRY{KEY{key},TEXT{text}} under the request's CUSTOMDATA/ENTRIES,
// creating those two when missing.
void addCustomEntry(metaTreeC* request, const char* key, const char* text);
// The request's CUSTOMDATA subtree in the treeText form; "<none>" without.
std::string customData(const metaTreeC* request);

std::filesystem::path testData(const char* name);
std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);
// The lines of text from a file or a program's standard output, without
// their line ends (LF, or CR LF as Windows writes text).
std::vector<std::string> textLines(const std::string& text);
// The names in a directory, sorted and separated by blanks.
std::string directoryListing(const std::filesystem::path& dir);

#if !defined(_WIN32)
// Runs a command through the shell; its exit status and standard output.
commandResultS runCommand(const std::string& command);
// The word in single quotes, as the shell takes it literally.
std::string shellQuoted(const std::string& word);
#endif
