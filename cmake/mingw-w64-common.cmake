# Cross toolchain shared by both Windows targets: MinGW-w64, everything linked statically so
# the .scr needs no MinGW runtime DLLs. Thread model: POSIX (GoogleTest needs std::mutex),
# except in the build of the shipped program alone that src/CMakeLists.txt starts with
# CIRRANE_THREAD_MODEL=win32 (it says why). The including file names the target first
# (CIRRANE_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR). Test executables run through
# scripts/wine-run, which gives them the build's own Wine prefix.
set(CMAKE_SYSTEM_NAME Windows)

if(NOT CIRRANE_THREAD_MODEL)
  set(CIRRANE_THREAD_MODEL posix)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CIRRANE_THREAD_MODEL)   # compiler checks too
set(CMAKE_C_COMPILER   ${CIRRANE_MINGW_TRIPLE}-gcc-${CIRRANE_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${CIRRANE_MINGW_TRIPLE}-g++-${CIRRANE_THREAD_MODEL})
set(CMAKE_RC_COMPILER  ${CIRRANE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CIRRANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
