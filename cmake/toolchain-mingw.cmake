# What the MinGW-w64 cross builds share; the toolchain file of each target
# sets LOOMVANE_MINGW_PREFIX and CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)

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
