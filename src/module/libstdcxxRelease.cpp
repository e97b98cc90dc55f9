// The module links its own copy of the standard library, and that copy
// reserves an emergency buffer for exceptions thrown when memory runs out.
// Nothing in the library frees it, so every unload of the module would leave
// it behind in the host process: give it back when the module's static
// objects are destroyed.
namespace __gnu_cxx {
void __freeres();
}

namespace {

struct libstdcxxReleaseS {
    libstdcxxReleaseS() = default;
    libstdcxxReleaseS(const libstdcxxReleaseS&) = delete;
    libstdcxxReleaseS& operator=(const libstdcxxReleaseS&) = delete;
    ~libstdcxxReleaseS() { __gnu_cxx::__freeres(); }
};

libstdcxxReleaseS g_release;

}  // namespace
