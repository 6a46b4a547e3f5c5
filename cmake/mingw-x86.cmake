# 32-bit Windows build (run under Wine's WoW64 mode).
set(CMAKE_SYSTEM_PROCESSOR X86)
set(MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(PENDREL_ARCH x86)
