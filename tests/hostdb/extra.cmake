# The command-line tests run the orvelka-db program.
if(TARGET orvelka-db)
  add_dependencies(${ORV_TEST_TARGET} orvelka-db)
endif()
