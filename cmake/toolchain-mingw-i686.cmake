# Cross build for 32-bit Windows with MinGW-w64:
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(LOOMVANE_MINGW_PREFIX i686-w64-mingw32)
# The POSIX thread model, whose C++ library has std::mutex (GoogleTest needs
# it); the plug-in uses no threads, so nothing of it reaches the module.
set(CMAKE_C_COMPILER ${LOOMVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LOOMVANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${LOOMVANE_MINGW_PREFIX}-windres)

# Libraries and headers come from the MinGW sysroot only; programs (Python,
# the binutils) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${LOOMVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
