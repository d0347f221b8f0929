# The session tests run the orvelka-session program.
if(TARGET orvelka-session)
  add_dependencies(${ORV_TEST_TARGET} orvelka-session)
endif()
