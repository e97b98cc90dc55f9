# Cross build for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread
# model, which the C++ standard library's threads and GoogleTest need), run
# under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(U3DPDF_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${U3DPDF_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${U3DPDF_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${U3DPDF_MINGW_PREFIX}-windres)

# Libraries and headers (zlib above all) come from the MinGW sysroot only;
# programs such as objdump and qpdf from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${U3DPDF_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest and gtest_discover_tests start the .exe files through Wine.
find_program(U3DPDF_WINE NAMES wine wine64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${U3DPDF_WINE})

# Programs carry their own C++ runtime, so that Wine needs no DLL beside
# them; zlib is linked from its archive for the same reason.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(ZLIB_USE_STATIC_LIBS ON)

# Wine's dbghelp, which resolves the crash log's and the memory reports'
# frames, reads DWARF up to version 4; GCC 12 writes version 5 by default,
# and every frame would print without file, line or name.
set(CMAKE_C_FLAGS_INIT -gdwarf-4)
set(CMAKE_CXX_FLAGS_INIT -gdwarf-4)
