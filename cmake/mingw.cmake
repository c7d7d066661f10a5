# What both Windows toolchains share: MinGW-w64 with posix threads, static
# linking. The toolchain file sets QUIBEX_MINGW (the target triple) and the
# processor, then includes this.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${QUIBEX_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUIBEX_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${QUIBEX_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUIBEX_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
# Link zlib statically: the program folder carries no zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)
