# 32-bit Windows, the shipped build: runs on 32- and 64-bit Windows and in 32-bit Wine prefixes.
set(MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
