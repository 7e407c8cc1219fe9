# Detection searches against a machine made of tables; against the real registry, files with
# version resources and installed products under Wine.
set(prereq_tests ${CMAKE_CURRENT_LIST_DIR})
maglorin_add_test(detection_search_test
    SOURCES ${prereq_tests}/detection_search_test.cpp LIBS setup_detection)
target_include_directories(detection_search_test PRIVATE ${prereq_tests} ${CMAKE_SOURCE_DIR}/tests/setup)
