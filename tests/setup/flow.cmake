# The main flow's portable parts: the command line, the restart plan, the log, string ids and
# result messages. Natively and (through the same sources) under Wine.
set(flow_tests ${CMAKE_CURRENT_LIST_DIR})
maglorin_add_test(command_options_test SOURCES ${flow_tests}/command_options_test.cpp LIBS setup_flow)
maglorin_add_test(restart_plan_test SOURCES ${flow_tests}/restart_plan_test.cpp LIBS setup_flow)
maglorin_add_test(setup_log_test SOURCES ${flow_tests}/setup_log_test.cpp LIBS setup_flow)
maglorin_add_test(setup_strings_test SOURCES ${flow_tests}/setup_strings_test.cpp LIBS setup_flow)
maglorin_add_test(message_text_test SOURCES ${flow_tests}/message_text_test.cpp LIBS setup_flow)
