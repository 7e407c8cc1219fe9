# Prerequisites: loading, applicability, actions, download places, file checks and exit codes.
maglorin_add_test(prerequisites_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/prerequisites_test.cpp LIBS setup_prerequisites)
