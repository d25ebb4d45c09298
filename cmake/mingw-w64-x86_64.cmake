# Cross build for 64-bit Windows with MinGW-w64; the programs run under Wine
# on the build machine (tests and test discovery go through the emulator).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KELVORN_MINGW_TRIPLET x86_64-w64-mingw32)
# The POSIX thread model: GCC 12's win32 model has no std::mutex, which
# GoogleTest needs. -static below links its winpthread in.
set(CMAKE_C_COMPILER ${KELVORN_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVORN_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KELVORN_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KELVORN_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -O2, not -O3: at -O3 GCC 12 warns of a false overlap (-Wrestrict) inside
# std::string concatenation (a known false positive of GCC 12), which -Werror
# makes fatal.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of Release builds")

# Static runtime: the programs need no DLL beyond the system's own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
