# setup's main flow: the command line, the choice of run mode, the restart from a fixed disk,
# result messages, the string ids and the log. Portable in both trees; the program itself (the
# session, the lock, the windows, the phases that touch the system) in the win32 tree.
add_library(setup_flow STATIC
    ${CMAKE_CURRENT_LIST_DIR}/command_options.cpp
    ${CMAKE_CURRENT_LIST_DIR}/installer_service_prerequisite.cpp
    ${CMAKE_CURRENT_LIST_DIR}/language_choice.cpp
    ${CMAKE_CURRENT_LIST_DIR}/message_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/package_configuration.cpp
    ${CMAKE_CURRENT_LIST_DIR}/restart_plan.cpp
    ${CMAKE_CURRENT_LIST_DIR}/resume_names.cpp
    ${CMAKE_CURRENT_LIST_DIR}/result_messages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/setup_log.cpp
)
target_include_directories(setup_flow PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(setup_flow PUBLIC setup_config setup_extraction)

if(MAGLORIN_WIN32)
    add_library(setup_flow_win32 STATIC
        ${CMAKE_CURRENT_LIST_DIR}/win32/credential_dialog_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/extraction_progress_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/fixed_disk_restart_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/indirect_command_line_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/installation_sequence_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/installer_version_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/language_dialog_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/language_manager_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/language_phase_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/launch_conditions_phase_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/message_routine_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/prerequisite_work_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/prerequisites_phase_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/prerequisites_wizard_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/resume_registration_phase_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/resume_registration_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/setup_resources_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/setup_session_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/single_instance_lock_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/status_window_win32.cpp
    )
    target_include_directories(setup_flow_win32 PUBLIC ${CMAKE_CURRENT_LIST_DIR}/win32)
    target_link_libraries(setup_flow_win32 PUBLIC setup_launch_win32 setup_launch_conditions_win32 setup_flow setup_extraction_win32 setup_config_win32
        setup_prerequisites setup_prerequisite_wizard setup_detection_win32 setup_download_win32 user32 shell32 ole32 advapi32 version comctl32 mstask uuid)
endif()
