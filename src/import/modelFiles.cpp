#include "import/modelFiles.h"

#include <assimp/DefaultIOSystem.h>
#include <assimp/MemoryIOWrapper.h>

#include <algorithm>
#include <cstring>

namespace meshimport {

namespace fs = std::filesystem;

namespace {

// Loaders only read; a mode that writes or appends is refused.
bool readMode(const char* mode) { return mode && !std::strpbrk(mode, "wa+"); }

// The path with every link and every "." and ".." resolved; empty when it
// cannot be resolved.
fs::path resolved(const fs::path& path) {
    std::error_code ec;
    fs::path out = fs::weakly_canonical(path, ec);
    return ec ? fs::path() : out;
}

bool inside(const fs::path& path, const fs::path& folder) {
    auto [end, rest] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return end == folder.end();
}

}  // namespace

modelFolderC::modelFolderC(const std::string& model)
    : model_(resolved(model)), folder_(resolved(fs::absolute(fs::path(model)).parent_path())) {}

bool modelFolderC::allowed(const char* path) const {
    if (!path || !*path)
        return false;
    const fs::path file = resolved(path);
    if (file.empty())
        return false;
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        return false;
    return file == model_ || (!folder_.empty() && inside(file, folder_));
}

bool modelFolderC::Exists(const char* path) const { return allowed(path); }

char modelFolderC::getOsSeparator() const { return '/'; }

Assimp::IOStream* modelFolderC::Open(const char* path, const char* mode) {
    if (!readMode(mode) || !allowed(path))
        return nullptr;
    Assimp::DefaultIOSystem files;
    return files.Open(path, mode);
}

void modelFolderC::Close(Assimp::IOStream* stream) { delete stream; }

memoryFileC::memoryFileC(std::span<const unsigned char> bytes, std::string name)
    : bytes_(bytes), name_(std::move(name)) {}

bool memoryFileC::Exists(const char* path) const { return path && name_ == path; }

Assimp::IOStream* memoryFileC::Open(const char* path, const char* mode) {
    if (!readMode(mode) || !Exists(path))
        return nullptr;
    return new Assimp::MemoryIOStream(bytes_.data(), bytes_.size());
}

void memoryFileC::Close(Assimp::IOStream* stream) { delete stream; }

}  // namespace meshimport
