# Cross build for 64-bit Windows with the win32-threads mingw-w64 toolchain: its runtime uses
# only what Windows XP x64 (NT 5.2) has, where the posix-threads one imports GetTickCount64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
