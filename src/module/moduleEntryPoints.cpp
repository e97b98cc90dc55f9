// The module's dynamic interface: the two entry points a host finds by their
// plain names. Everything else in the module stays hidden (the version
// script u3dpdf.map lists exactly these two). They are declared where hosts
// read them, in the host SDK's header.
#include "translator/translatorEntryPoints.h"
#include "u3dpdf/module.h"

#include <cstdint>

#if defined(_WIN32)
#define U3DPDF_EXPORT __declspec(dllexport)
#else
#define U3DPDF_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

U3DPDF_EXPORT metaTreeC* getCaps() { return translator::getCaps(); }

U3DPDF_EXPORT int convertMetaTree(metaTreeC* data, uintptr_t fncPointer) {
    return translator::convertMetaTree(data, fncPointer);
}

}  // extern "C"
