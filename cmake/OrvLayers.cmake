# One static library per layer of src/, each linking only the layers it may
# use (see the table in src/CMakeLists.txt and docs/architecture.md).
#
# A static library alone does not refuse a call that runs back up: the
# programs link every layer, so the call resolves anyway. Each layer therefore
# also gets a link check, a shared object built from the whole layer and its
# allowed dependencies with --no-undefined: a call into a layer it may not
# use leaves a symbol undefined and the build fails. The include check
# (cmake/check_layers.cmake, run by ctest) catches the arrows a header alone
# draws (inline functions, types).

option(ORV_LAYER_LINK_CHECK "Link every layer on its own to refuse calls into layers above it" ON)

set(ORV_LAYER_CHECK_SOURCE ${CMAKE_BINARY_DIR}/orv_layer_check.cc)
if(NOT EXISTS ${ORV_LAYER_CHECK_SOURCE})
  file(WRITE ${ORV_LAYER_CHECK_SOURCE} "// The layer link checks need one source of their own.\n")
endif()

# orv_layer(<name> DIRS <folder>... [DEPS <target>...])
# Makes orv_<name> from the .cc files of the folders (relative to src/).
function(orv_layer name)
  cmake_parse_arguments(ARG "" "" "DIRS;DEPS" ${ARGN})
  orv_glob_sources(sources ${ARG_DIRS})
  add_library(orv_${name} STATIC ${sources})
  target_link_libraries(orv_${name} PUBLIC ${ARG_DEPS})
  orv_warnings(orv_${name})
  if(ORV_LAYER_LINK_CHECK AND NOT ORV_SANITIZE AND NOT ORV_BUILD_FUZZ)
    add_library(orv_${name}_link_check SHARED ${ORV_LAYER_CHECK_SOURCE})
    target_link_libraries(orv_${name}_link_check PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,orv_${name}>")
    target_link_options(orv_${name}_link_check PRIVATE -Wl,--no-undefined)
  endif()
endfunction()
