// libu3dpdf.so as the host sees it: a library loaded at run time whose two
// entry points are found by their plain names. Everything that crosses to
// the module goes through these two calls.
#pragma once

#include <cstdint>
#include <string>

class metaTreeC;

class translatorModuleC {
public:
    // Loads the module at path, or the default one (moduleLocator.h) when
    // path is empty. An input error when it cannot be loaded or does not
    // export both entry points.
    explicit translatorModuleC(const std::string& path);
    // Unloads the module: every node the module made must be gone by then,
    // since their destructors live in it.
    ~translatorModuleC();
    translatorModuleC(const translatorModuleC&) = delete;
    translatorModuleC& operator=(const translatorModuleC&) = delete;

    // A new capability tree; the caller owns it.
    metaTreeC* getCaps() const { return getCaps_(); }
    // 1 when the module converted the request, 0 when not. The request stays
    // the caller's, with whatever nodes the module added to it.
    int convertMetaTree(metaTreeC* request) const { return convertMetaTree_(request, 0); }

    const std::string& path() const { return path_; }

private:
    using getCapsF = metaTreeC* (*)();
    using convertMetaTreeF = int (*)(metaTreeC* data, uintptr_t fncPointer);

    std::string path_;
    void* library_ = nullptr;
    getCapsF getCaps_ = nullptr;
    convertMetaTreeF convertMetaTree_ = nullptr;
};
