# Payload extraction. The portable decisions natively (and sanitised in the asan tree): paths and
# the long-path prefix, which entries a request takes, clean-up rules, the free-space walk and
# question, the progress pipe protocol.
set(extraction_tests ${CMAKE_CURRENT_LIST_DIR})
maglorin_add_test(extraction_paths_test SOURCES ${extraction_tests}/extraction_paths_test.cpp LIBS setup_extraction)
maglorin_add_test(cleanup_rules_test SOURCES ${extraction_tests}/cleanup_rules_test.cpp LIBS setup_extraction)
maglorin_add_test(progress_pipe_test SOURCES ${extraction_tests}/progress_pipe_test.cpp LIBS setup_extraction)
maglorin_add_test(extraction_plan_test SOURCES ${extraction_tests}/extraction_plan_test.cpp LIBS setup_extraction)
