# 32-bit Windows build (run under Wine's WoW64 mode).
set(CMAKE_SYSTEM_PROCESSOR X86)
set(MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(PENDREL_ARCH x86)

# The x86 build does its floating point in SSE2 registers, as x64 does:
# every double is rounded once, to double precision, so both builds compute
# the same values (the x87 rounds twice, to its own wider precision first),
# and the reader's exact one-pass reading of amounts holds on both. Every
# processor that runs a current Windows has SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
