# Hardening of the release build (PENDREL_HARDEN, set by ./dev for the
# package and the benchmark).
# - Stack protector on every function with arrays or addresses of locals,
#   with mingw-w64's ssp library linked into each binary (the link is
#   static), so no libssp-0.dll has to be shipped.
# - ASLR (relocatable image, high-entropy on x64) and DEP: the linker's
#   defaults, stated here so that they stay.
# Control Flow Guard and SafeSEH are not available from this toolchain.
add_compile_options(-fstack-protector-strong)
add_link_options(-fstack-protector-strong -Wl,--dynamicbase -Wl,--nxcompat)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_link_options(-Wl,--high-entropy-va)
endif()
