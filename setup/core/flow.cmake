# setup's main flow: the command line, the choice of run mode, the restart from a fixed disk,
# result messages, the string ids and the log. Portable in both trees; the program itself (the
# session, the lock, the windows, the phases that touch the system) in the win32 tree.
add_library(setup_flow STATIC
    ${CMAKE_CURRENT_LIST_DIR}/command_options.cpp
    ${CMAKE_CURRENT_LIST_DIR}/message_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/package_configuration.cpp
    ${CMAKE_CURRENT_LIST_DIR}/restart_plan.cpp
    ${CMAKE_CURRENT_LIST_DIR}/result_messages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/setup_log.cpp
)
target_include_directories(setup_flow PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(setup_flow PUBLIC setup_config setup_extraction)
