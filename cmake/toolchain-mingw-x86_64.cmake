# Cross build for 64-bit Windows with MinGW-w64: the test vehicle that runs
# under 64-bit Wine on machines that run no 32-bit code. The shipped module
# is the 32-bit one (toolchain-mingw-i686.cmake).
#   cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(LOOMVANE_MINGW_PREFIX x86_64-w64-mingw32)
# The POSIX thread model, as in the 32-bit build (GoogleTest needs std::mutex).
set(CMAKE_C_COMPILER ${LOOMVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LOOMVANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${LOOMVANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LOOMVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
