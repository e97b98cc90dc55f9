// A host of the u3dpdf module: loads it, prints its capability tree and
// converts one model, as a design application exports one.
//   u3dpdf_host MODEL.u3d OUT.pdf [MINX MINY MINZ MAXX MAXY MAXZ]
// The module deletes the U3D file it converts (a host hands it a temporary
// file), so the host passes it a copy of MODEL.u3d. The environment variable
// U3DPDF_MODULE names another module than the installed one.
#include <u3dpdf/trees.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
static void* openModule(const char* path) { return reinterpret_cast<void*>(LoadLibraryA(path)); }
static void* findEntry(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}
static void closeModule(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }
#else
#include <dlfcn.h>
static void* openModule(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }
static void* findEntry(void* module, const char* name) { return dlsym(module, name); }
static void closeModule(void* module) { dlclose(module); }
#endif

int main(int argc, char** argv) {
    if (argc != 3 && argc != 9) {
        std::fprintf(stderr, "usage: u3dpdf_host MODEL.u3d OUT.pdf [MINX MINY MINZ MAXX MAXY MAXZ]\n");
        return 2;
    }
    vectorC3d boxMin{0, 0, 0}, boxMax{1, 1, 1};
    if (argc == 9) {
        boxMin = {std::atof(argv[3]), std::atof(argv[4]), std::atof(argv[5])};
        boxMax = {std::atof(argv[6]), std::atof(argv[7]), std::atof(argv[8])};
    }
    const char* modulePath = std::getenv("U3DPDF_MODULE") ? std::getenv("U3DPDF_MODULE") : U3DPDF_MODULE;
    void* module = openModule(modulePath);
    auto getCaps = reinterpret_cast<u3dpdfGetCapsF>(module ? findEntry(module, "getCaps") : nullptr);
    auto convert = reinterpret_cast<u3dpdfConvertMetaTreeF>(module ? findEntry(module, "convertMetaTree") : nullptr);
    if (!getCaps || !convert) {
        std::fprintf(stderr, "u3dpdf_host: cannot use the module %s\n", modulePath);
        return 2;
    }
    const std::string copy = std::string(argv[2]) + ".u3d";
    std::error_code error;
    if (!std::filesystem::copy_file(argv[1], copy, std::filesystem::copy_options::overwrite_existing, error)) {
        std::fprintf(stderr, "u3dpdf_host: cannot copy %s: %s\n", argv[1], error.message().c_str());
        return 2;
    }
    int converted = 0;
    {
        // Both trees are deleted at the end of this block, before the
        // module that made some of their nodes is unloaded.
        const metaObjectC caps(getCaps(), true);
        std::printf("%s\n", saveTreeAsString(caps, true, false).text());

        const metaObjectC request(createKeyNode("REQUEST"), true);
        requestRootC root(request.node());
        root.NAME("u3dpdf example host");
        root.OUTPUTLOCATION(argv[2]);
        requestInputC model = root.addINPUT("MODEL");
        model.FILENAME(copy.c_str());
        model.U3DBOXMIN(boxMin);
        model.U3DBOXMAX(boxMax);
        converted = convert(request.node(), 0);
        if (!converted)
            std::fprintf(stderr, "u3dpdf_host: %s\n", root.findENTRIES().findENTRY(kEntryErrorMessage).findTEXT().text());
    }
    closeModule(module);
    if (!converted)
        std::filesystem::remove(copy, error);
    return converted ? 0 : 1;
}
