# The fixtures that open the editor on a demo database for these tests.
target_sources(${ORV_TEST_TARGET} PRIVATE ${CMAKE_CURRENT_LIST_DIR}/parameter_editor.cc)
target_sources(${ORV_TEST_TARGET} PRIVATE ${CMAKE_CURRENT_LIST_DIR}/tree_editor.cc)
target_sources(${ORV_TEST_TARGET} PRIVATE ${CMAKE_CURRENT_LIST_DIR}/section_editor.cc)
