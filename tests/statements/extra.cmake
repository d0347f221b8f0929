# orvelka-statements: replays session scripts and writes every distinct
# statement sent to a driver (used by scripts/check_statements.sh in CI and
# by the tests beside it).
if(TARGET orv_session)
  add_executable(orvelka-statements ${CMAKE_CURRENT_LIST_DIR}/collect_statements.cc)
  target_link_libraries(orvelka-statements PRIVATE orv_session orv_hostdb orv_db)
  set_target_properties(orvelka-statements PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/src)
  orv_warnings(orvelka-statements)
  add_dependencies(${ORV_TEST_TARGET} orvelka-statements orvelka-db)
endif()
