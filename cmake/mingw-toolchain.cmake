# Cross-build for Windows with Debian's mingw-w64 (the -posix thread variant, for std::thread
# and std::mutex). MORVIT_WIN_ARCH picks the target: i686 (32-bit) or x86_64 (64-bit).
set(MORVIT_WIN_ARCH "x86_64" CACHE STRING "Windows target architecture: i686 or x86_64")
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MORVIT_WIN_ARCH})
set(MORVIT_MINGW ${MORVIT_WIN_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${MORVIT_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MORVIT_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${MORVIT_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MORVIT_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The programs run under wine during the tests.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
