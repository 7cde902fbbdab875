# Cross-builds the core and the Windows test program with mingw-w64 on Linux, through the
# windows preset (build/windows):
#   cmake --preset windows && cmake --build --preset windows
# The posix-threads flavour of the compiler is preferred (std::thread and the chrono clocks
# behave as on the other platforms); the win32 flavour is taken when it is the only one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUILLON_MINGW_PREFIX x86_64-w64-mingw32)
find_program(QUILLON_MINGW_CXX NAMES ${QUILLON_MINGW_PREFIX}-g++-posix
                                     ${QUILLON_MINGW_PREFIX}-g++-win32
                                     ${QUILLON_MINGW_PREFIX}-g++ REQUIRED)
set(CMAKE_CXX_COMPILER ${QUILLON_MINGW_CXX})
find_program(CMAKE_RC_COMPILER NAMES ${QUILLON_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLON_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: no libstdc++, libgcc or winpthread DLLs to ship beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
