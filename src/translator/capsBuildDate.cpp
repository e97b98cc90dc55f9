#include "translator/capsBuildDate.h"

// A reproducible build fixes the moment through SOURCE_DATE_EPOCH: the build
// system then passes it, formatted like the compiler's own macros, as
// U3DPDF_BUILD_DATE and U3DPDF_BUILD_TIME.
#if defined(U3DPDF_BUILD_DATE) && defined(U3DPDF_BUILD_TIME)
const char* capsBuildDate() { return U3DPDF_BUILD_DATE; }
const char* capsBuildTime() { return U3DPDF_BUILD_TIME; }
#else
const char* capsBuildDate() { return __DATE__; }
const char* capsBuildTime() { return __TIME__; }
#endif
