# Builds type libraries, C/C++ headers and identifier files from IDL with widl.
# Every library goes to one folder, so that a library importing another one
# (importlib) finds it there, and so do the resource compiler and the tests.
set(PENDREL_TYPELIB_DIR ${CMAKE_BINARY_DIR}/typelibs)
file(MAKE_DIRECTORY ${PENDREL_TYPELIB_DIR})

set(PENDREL_WINE_IDL_DIR /usr/include/wine/wine/windows CACHE PATH "IDL files of the platform")
set(PENDREL_STDOLE2_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "Folder of stdole2.tlb")

# widl searches one library folder only, so the standard library joins ours.
file(COPY ${PENDREL_STDOLE2_DIR}/stdole2.tlb DESTINATION ${PENDREL_TYPELIB_DIR})

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(PENDREL_TYPELIB_KIND --win64)
else()
  set(PENDREL_TYPELIB_KIND --win32)
endif()

# pendrel_add_type_library(NAME IDL [DEPENDS other-names...])
# The library is written to the working folder under the IDL file's name, so
# NAME is that name. Produces typelibs/NAME.tlb, NAME.h and NAME_i.c, and a target NAME_typelib.
function(pendrel_add_type_library name idl)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "" "DEPENDS")
  set(out ${PENDREL_TYPELIB_DIR}/${name})
  set(depends)
  foreach(dependency ${ARG_DEPENDS})
    list(APPEND depends ${dependency}_typelib ${PENDREL_TYPELIB_DIR}/${dependency}.tlb)
  endforeach()
  get_filename_component(idl_path ${idl} ABSOLUTE)
  add_custom_command(
    OUTPUT ${out}.tlb ${out}.h ${out}_i.c
    COMMAND ${PENDREL_WIDL} ${PENDREL_TYPELIB_KIND}
            -I${PENDREL_WINE_IDL_DIR} -I${CMAKE_SOURCE_DIR}/interfaces/host
            -L${PENDREL_TYPELIB_DIR}
            -t -h -H ${out}.h -u -U ${out}_i.c ${idl_path}
    WORKING_DIRECTORY ${PENDREL_TYPELIB_DIR}
    DEPENDS ${idl_path} ${depends}
    COMMENT "Building type library ${name}"
    VERBATIM)
  add_custom_target(${name}_typelib DEPENDS ${out}.tlb ${out}.h ${out}_i.c)
endfunction()
