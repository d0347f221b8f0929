# Warnings are errors on our own targets only; third-party headers are
# included as SYSTEM so they never break the build.
function(orv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# orv_glob_sources(<var> <dir>...): the .cc files directly in each folder,
# without program entry files (*_main.cc). CONFIGURE_DEPENDS keeps the list
# current when files are added.
function(orv_glob_sources out)
  set(result)
  foreach(dir ${ARGN})
    file(GLOB files CONFIGURE_DEPENDS "${dir}/*.cc")
    list(FILTER files EXCLUDE REGEX "_main\\.cc$")
    list(APPEND result ${files})
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()
