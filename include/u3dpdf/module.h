/* The u3dpdf translator module as a host sees it: the two functions that
 * libu3dpdf.so (u3dpdf.dll on Windows) exports under their plain C names,
 * and the types of pointers to them, for dlsym or GetProcAddress. A host
 * loads the module at run time and never links it.
 *
 * Which hosts can use the module
 * ------------------------------
 * The trees cross the boundary as C++ objects: the host hands the module a
 * request tree and receives a capability tree, and each side calls the other
 * side's virtual destructors and reads its class layouts. Host and module
 * must therefore share one C++ ABI.
 *   - libu3dpdf.so is built with GCC (the Itanium C++ ABI): hosts built with
 *     GCC or Clang for the same platform qualify.
 *   - u3dpdf.dll is built with MinGW-w64, which uses the GCC ABI too: hosts
 *     built with MinGW-w64 GCC or Clang qualify. A host compiled with MSVC
 *     (or clang-cl) cannot pass the DLL trees, read the trees it returns or
 *     delete the nodes the module adds to its requests, and no build of the
 *     module with the MSVC ABI exists. Such a host is refused below when it
 *     compiles, rather than crashing when it runs.
 * Each side keeps its own allocator: a node the module made goes back to the
 * module when the host deletes it, so every tree the module returned must be
 * deleted before the module is unloaded.
 */
#ifndef U3DPDF_MODULE_H
#define U3DPDF_MODULE_H

#include <stdint.h>

#ifdef __cplusplus
#if defined(_MSC_VER)
#error "u3dpdf: meta trees cross the module boundary as C++ objects in the GCC (Itanium) ABI; an MSVC-ABI host cannot share them with the module (see u3dpdf/module.h)"
#endif
#if !defined(__GXX_ABI_VERSION)
#error "u3dpdf: this compiler does not declare the GCC (Itanium) C++ ABI that the module's trees use (see u3dpdf/module.h)"
#endif
class metaTreeC;
extern "C" {
#else
/* A C host can load the module and call it, but cannot build or read the
 * trees, which are C++ objects. */
typedef struct metaTreeC metaTreeC;
#endif

/* A new capability tree (DLLIFACE: INFO with NAME, VERSION, DESC, DATE, and
 * the U3D-to-PDF pairing under IOPAIRS). The caller owns it and deletes its
 * root before it unloads the module. */
metaTreeC* getCaps(void);
typedef metaTreeC* (*u3dpdfGetCapsF)(void);

/* Converts the request (REQUEST: OUTPUTLOCATION, INPUTDATA with a record of
 * FILENAME, U3DBOXMIN, U3DBOXMAX; optional CUSTOMDATA entries) into a PDF
 * file: 1 when it was written, 0 when not, with the reason in the request's
 * ErrorMessage entry. The module deletes the U3D file it converts. The
 * request stays the caller's, with the nodes the module added to it.
 * fncPointer is not used; pass 0. */
int convertMetaTree(metaTreeC* data, uintptr_t fncPointer);
typedef int (*u3dpdfConvertMetaTreeF)(metaTreeC* data, uintptr_t fncPointer);

#ifdef __cplusplus
}
#endif

#endif
