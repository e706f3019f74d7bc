# Shared part of the mingw-w64 toolchain files. The including file sets
# TESSIVANE_MINGW_TRIPLE (i686-w64-mingw32 or x86_64-w64-mingw32) and
# CMAKE_SYSTEM_PROCESSOR first.
#
# The -posix compiler variants are used on purpose: Debian's default
# variants use the win32 thread model, which lacks std::mutex and cannot
# build GoogleTest.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 6.1)

set(CMAKE_C_COMPILER ${TESSIVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSIVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSIVANE_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${TESSIVANE_MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${TESSIVANE_MINGW_TRIPLE}-ranlib CACHE FILEPATH "")
set(CMAKE_OBJDUMP ${TESSIVANE_MINGW_TRIPLE}-objdump CACHE FILEPATH "")

# Headers and libraries come from the mingw sysroot (and from prefixes
# added to CMAKE_PREFIX_PATH, such as the cross-built codec libraries);
# programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TESSIVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Static libraries only: every Windows program and DLL is one self-contained
# file, with no libgcc, libstdc++ or winpthread DLL beside it.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
set(BUILD_SHARED_LIBS OFF CACHE BOOL "")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
