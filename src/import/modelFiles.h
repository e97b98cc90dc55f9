// The files assimp may open while it reads one model. Loaders open what the
// model names (material libraries, buffers, textures): a model from
// elsewhere must not make them read a device that never ends, or copy a
// file from anywhere on the machine into the document as vertex data.
#pragma once

#include <assimp/IOSystem.hpp>

#include <filesystem>
#include <span>
#include <string>

namespace meshimport {

// The model and the regular files in its folder or below it, read only.
class modelFolderC : public Assimp::IOSystem {
public:
    explicit modelFolderC(const std::string& model);

    bool Exists(const char* path) const override;
    char getOsSeparator() const override;
    Assimp::IOStream* Open(const char* path, const char* mode) override;
    void Close(Assimp::IOStream* stream) override;

private:
    bool allowed(const char* path) const;

    std::filesystem::path model_;   // canonical
    std::filesystem::path folder_;  // canonical, the folder as the path names it
};

// One file held in memory under one name; no other file exists.
class memoryFileC : public Assimp::IOSystem {
public:
    memoryFileC(std::span<const unsigned char> bytes, std::string name);

    bool Exists(const char* path) const override;
    char getOsSeparator() const override { return '/'; }
    Assimp::IOStream* Open(const char* path, const char* mode) override;
    void Close(Assimp::IOStream* stream) override;

private:
    std::span<const unsigned char> bytes_;
    std::string name_;
};

}  // namespace meshimport
