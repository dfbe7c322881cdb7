# Cross-compiling for 32-bit Windows, as the device runs the program: the
# structure sizes of the CE records are 32-bit sizes.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
