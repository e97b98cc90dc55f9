// libu3dpdf.so keeps its allocator and standard library to itself.
#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <dlfcn.h>
#include <malloc.h>

namespace {

const char* const kModule = U3DPDF_MODULE_PATH;

std::vector<std::string> commandLines(const std::string& command) {
    std::vector<std::string> lines;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return lines;
    char buf[4096];
    while (std::fgets(buf, sizeof(buf), pipe) != nullptr) {
        std::string line(buf);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        lines.push_back(line);
    }
    EXPECT_EQ(pclose(pipe), 0) << command;
    return lines;
}

TEST(ModuleBoundaryTest, ExportsNothingButTheEntryPoints) {
    const std::set<std::string> allowed = {"getCaps", "convertMetaTree"};
    std::set<std::string> exported;
    // "nm -D --defined-only" prints "address type name" per symbol.
    for (const std::string& line : commandLines(std::string("nm -D --defined-only ") + kModule)) {
        std::istringstream fields(line);
        std::string address, type, name;
        fields >> address >> type >> name;
        EXPECT_TRUE(allowed.count(name) == 1) << "exported: " << line;
        EXPECT_EQ(type, "T") << "an entry point is code: " << line;
        exported.insert(name);
    }
    EXPECT_EQ(exported, allowed);
}

TEST(ModuleBoundaryTest, CarriesItsOwnStandardLibrary) {
    int needed = 0;
    for (const std::string& line : commandLines(std::string("readelf -d ") + kModule)) {
        if (line.find("(NEEDED)") == std::string::npos) continue;
        ++needed;
        EXPECT_EQ(line.find("libstdc++"), std::string::npos) << line;
        EXPECT_EQ(line.find("libgcc_s"), std::string::npos) << line;
    }
    EXPECT_GT(needed, 0);  // libc at least: the listing was read
}

bool insideModule(const void* address, void* handle) {
    Dl_info info{};
    if (address == nullptr || dladdr(address, &info) == 0) return false;
    void* owner = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    if (owner == nullptr) return false;
    dlclose(owner);
    return owner == handle;
}

TEST(ModuleBoundaryTest, LoadingLeavesTheHostAllocatorAlone) {
    void* hostNew = dlsym(RTLD_DEFAULT, "_Znwm");
    void* hostDelete = dlsym(RTLD_DEFAULT, "_ZdlPv");
    void* hostMalloc = dlsym(RTLD_DEFAULT, "malloc");
    ASSERT_NE(hostNew, nullptr);

    // RTLD_GLOBAL is the careless host: even then nothing may leak out.
    void* module = dlopen(kModule, RTLD_NOW | RTLD_GLOBAL);
    ASSERT_NE(module, nullptr) << dlerror();
    EXPECT_EQ(dlsym(RTLD_DEFAULT, "_Znwm"), hostNew);
    EXPECT_EQ(dlsym(RTLD_DEFAULT, "_ZdlPv"), hostDelete);
    EXPECT_EQ(dlsym(RTLD_DEFAULT, "malloc"), hostMalloc);
    EXPECT_FALSE(insideModule(hostNew, module));
    EXPECT_FALSE(insideModule(dlsym(module, "_Znwm"), module));

    // A block from the host's operator new is still the C library's.
    void* block = ::operator new(40);
    EXPECT_GE(malloc_usable_size(block), 40u);
    ::operator delete(block);

    EXPECT_EQ(dlclose(module), 0);
}

}  // namespace
