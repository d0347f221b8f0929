# The profile layer is its own library, outside the module.
if(TARGET orv_profile)
  target_link_libraries(${ORV_TEST_TARGET} PRIVATE orv_profile)
endif()
