# Cross build for 64-bit Windows with Debian's MinGW-w64 (POSIX thread model).
# BRINDLEWICK_WINDOWS_DEPS: where the cross-built libjpeg and libpng are installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${_triplet}-windres)

# Try-compiles re-read this file; they need the same search roots.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BRINDLEWICK_WINDOWS_DEPS)
set(CMAKE_FIND_ROOT_PATH /usr/${_triplet} ${BRINDLEWICK_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# zlib's import library would make the program need zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)
