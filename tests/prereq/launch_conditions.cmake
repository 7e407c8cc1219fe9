# Launch conditions: naming the operating system, reading the conditions, every check with its
# tables and texts, against tables natively; against the real system under Wine.
set(prereq_tests ${CMAKE_CURRENT_LIST_DIR})
maglorin_add_test(os_identity_test SOURCES ${prereq_tests}/os_identity_test.cpp LIBS setup_launch_conditions)
maglorin_add_test(launch_conditions_test SOURCES ${prereq_tests}/launch_conditions_test.cpp LIBS setup_launch_conditions)
foreach(t os_identity_test launch_conditions_test)
    target_include_directories(${t} PRIVATE ${prereq_tests} ${CMAKE_SOURCE_DIR}/tests/setup)
endforeach()
