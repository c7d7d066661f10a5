# Cross-compiles the 32-bit Windows tree (the shipped edition).
set(QUIBEX_MINGW i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
