# Cross build for 64-bit Windows with MinGW-w64: the test vehicle that runs
# under 64-bit Wine on machines that run no 32-bit code. The shipped module
# is the 32-bit one (toolchain-mingw-i686.cmake).
#   cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(LOOMVANE_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
