# Cross build for 32-bit Windows with the win32-threads mingw-w64 toolchain: its runtime uses
# only what Windows XP (NT 5.1) has, where the posix-threads one imports GetTickCount64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
