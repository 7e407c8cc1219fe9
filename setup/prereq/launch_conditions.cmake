# Launch conditions: the operating system's name, the conditions read from setup.ini, their
# tables and texts, and the 23 checks. Portable; setup's answers come from the win32 library.
add_library(setup_launch_conditions STATIC
    ${CMAKE_CURRENT_LIST_DIR}/launch_condition_checks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/launch_condition_messages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/launch_condition_tables.cpp
    ${CMAKE_CURRENT_LIST_DIR}/launch_conditions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/os_identity.cpp
)
target_link_libraries(setup_launch_conditions PUBLIC setup_detection)

if(MAGLORIN_WIN32)
    add_library(setup_launch_conditions_win32 STATIC
        ${CMAKE_CURRENT_LIST_DIR}/win32/launch_conditions_win32.cpp
    )
    target_link_libraries(setup_launch_conditions_win32 PUBLIC setup_launch_conditions setup_detection_win32 user32 gdi32 advapi32 wininet)
endif()
