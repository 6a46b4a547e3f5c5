# How the root adds the project's folders.

# The warnings the project's own targets compile with. They are set on each
# target, not on the whole build, so that GoogleTest, built inside the
# tests' tree, keeps its own.
set(PENDREL_WARNINGS -Wall -Wextra -Wpedantic)

# pendrel_add_folder(FOLDER) adds FOLDER, every target it defines compiled
# with the project's warnings.
function(pendrel_add_folder folder)
  add_subdirectory(${folder})
  get_directory_property(targets DIRECTORY ${folder} BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
      target_compile_options(${target} PRIVATE ${PENDREL_WARNINGS})
    endif()
  endforeach()
endfunction()

# pendrel_floor(FOLDER...) adds the folders of one floor of the product. The
# root calls it floor by floor from the bottom; the layering check
# (tests/layering/check_layers.py) reads those calls as the list of floors.
function(pendrel_floor)
  foreach(folder IN LISTS ARGN)
    pendrel_add_folder(${folder})
  endforeach()
endfunction()
