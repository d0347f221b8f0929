# cmake -DBINARY_DIR=<build> -DSOURCE_DIR=<root> -DWORK_DIR=<scratch> -P example_host_test.cmake
#
# Installs the build into a scratch prefix, builds the example hosts of
# examples/ against that prefix only (find_package, then pkg-config for the C
# host) and runs them: what a third-party host goes through.
file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "Failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install "${BINARY_DIR}" --prefix "${prefix}")
# Only the prefix: no source or build folder of the module is visible.
run(${CMAKE_COMMAND} -S "${SOURCE_DIR}/examples" -B "${WORK_DIR}/build" -G Ninja
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release)
run(${CMAKE_COMMAND} --build "${WORK_DIR}/build")
run("${WORK_DIR}/build/c_host" "${WORK_DIR}/manifest")
message(STATUS "${out}")

# The C++ host opens the editor on a demo database made by the installed
# orvelka-db and revokes a warehouse.
run("${prefix}/bin/orvelka-db" create --demo "${WORK_DIR}/demo.db")
run("${WORK_DIR}/build/cpp_host" "${WORK_DIR}/demo.db")
message(STATUS "${out}")

# The same host through pkg-config.
find_program(PKG_CONFIG pkg-config REQUIRED)
find_program(CC NAMES cc gcc REQUIRED)
set(ENV{PKG_CONFIG_PATH} "${prefix}/lib/pkgconfig")
run(${PKG_CONFIG} --cflags --libs zere_orvelka)
string(STRIP "${out}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
run(${CC} -Wall -Wextra -Werror "${SOURCE_DIR}/examples/c_host/c_host.c" ${flags}
    -Wl,-rpath,${prefix}/lib -o "${WORK_DIR}/c_host_pc")
run("${WORK_DIR}/c_host_pc" "${WORK_DIR}/manifest_pc")
message(STATUS "pkg-config: ${out}")

# The C++ host through pkg-config: the C++ package says the standard, the
# host's command line does not.
find_program(CXX NAMES c++ g++ REQUIRED)
run(${PKG_CONFIG} --cflags --libs zere_orvelka-cpp)
string(STRIP "${out}" flags)
if(NOT flags MATCHES "-std=c\\+\\+20")
  message(FATAL_ERROR "zere_orvelka-cpp does not give C++20: ${flags}")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
run(${CXX} -Wall -Wextra -Werror "${SOURCE_DIR}/examples/cpp_host/cpp_host.cc" ${flags}
    -Wl,-rpath,${prefix}/lib -o "${WORK_DIR}/cpp_host_pc")
run("${prefix}/bin/orvelka-db" create --demo "${WORK_DIR}/demo_pc.db")
run("${WORK_DIR}/cpp_host_pc" "${WORK_DIR}/demo_pc.db")
message(STATUS "pkg-config (C++): ${out}")
