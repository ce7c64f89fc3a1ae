# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX threads variant, which
# has std::thread): cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake. Programs link the C and
# C++ runtimes statically, so an .exe needs no DLL but the system's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(tavrel_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${tavrel_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${tavrel_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${tavrel_mingw}-windres)
set(CMAKE_STRIP ${tavrel_mingw}-strip CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${tavrel_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
