# Cross toolchain for 32-bit Windows (preset mingw-x86); see mingw-w64-common.cmake.
# Its tests run in a 32-bit Wine prefix (WINEARCH=win32) of their own.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CIRRANE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
