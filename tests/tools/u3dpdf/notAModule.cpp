// A shared library that looks half like the translator module: it exports
// getCaps but no convertMetaTree, so a host must refuse it.
extern "C" __attribute__((visibility("default"))) void* getCaps() { return nullptr; }
