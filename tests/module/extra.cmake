# A host built apart from the module: it knows only the C entry points and
# loads libzere_orvelka.so with dlopen.
if(TARGET zere_orvelka)
  add_executable(orvelka_dlopen_host ${CMAKE_CURRENT_SOURCE_DIR}/module/dlopen_host.cc)
  target_include_directories(orvelka_dlopen_host PRIVATE ${PROJECT_SOURCE_DIR}/include)
  target_link_libraries(orvelka_dlopen_host PRIVATE ${CMAKE_DL_LIBS})
  orv_warnings(orvelka_dlopen_host)
  add_dependencies(orvelka_dlopen_host zere_orvelka)
  add_test(NAME module.dlopen_host
           COMMAND orvelka_dlopen_host $<TARGET_FILE:zere_orvelka>
                   ${CMAKE_CURRENT_BINARY_DIR}/dlopen_host_manifest)
endif()

# The module exports its C entry points and the classes of namespace orv,
# nothing else: no copy of library code it was linked with.
find_program(ORV_NM nm)
if(TARGET zere_orvelka AND ORV_NM)
  add_test(NAME module.exports
           COMMAND sh -c "${ORV_NM} -D --defined-only --format=just-symbols \"$0\" | grep -v -e '^orv_' -e '3orv' && exit 1 || exit 0"
                   $<TARGET_FILE:zere_orvelka>)
endif()

# A third-party host: the build installed into a scratch prefix, the example
# hosts of examples/ built against that prefix only (find_package and
# pkg-config) and run.
if(TARGET zere_orvelka AND NOT ORV_SANITIZE)
  add_test(NAME module.installed_example_host
           COMMAND ${CMAKE_COMMAND} -DBINARY_DIR=${PROJECT_BINARY_DIR}
                   -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
                   -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/installed_example_host
                   -P ${PROJECT_SOURCE_DIR}/cmake/example_host_test.cmake)
  set_tests_properties(module.installed_example_host PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
endif()
