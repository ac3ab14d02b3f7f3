# Cross-build for 64-bit Windows with MinGW-w64 (posix thread model), tests
# run under Wine. Used by the "windows" preset:
#   cmake --preset windows && cmake --build --preset windows && ctest --preset windows
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VANTARO_MINGW_PREFIX x86_64-w64-mingw32)

# The posix thread model: the win32 model of GCC 12 lacks std::thread/std::mutex.
set(CMAKE_C_COMPILER   ${VANTARO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTARO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${VANTARO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VANTARO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Link the GCC, C++ and winpthread run-times in statically, so the DLL and the
# test programs import system DLLs only (-static-libstdc++ alone still leaves
# libwinpthread-1.dll).
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# CTest runs every Windows executable through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
