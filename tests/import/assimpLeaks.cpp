// Debian's libassimp leaks on some broken files: it allocates in
// constructors that its own errors (and its internal assertions, which the
// import turns into errors) leave half done. LeakSanitizer reads these
// suppressions when the program starts; a leak whose allocation runs
// through no assimp code is still reported. Without a sanitizer nothing
// calls this function.
extern "C" const char* __lsan_default_suppressions() { return "leak:libassimp.so\n"; }
