# The main flow's portable parts: the command line, the restart plan, the log, string ids,
# result messages and the installer-service prerequisite. Natively and (the same sources) under
# Wine.
set(flow_tests ${CMAKE_CURRENT_LIST_DIR})
maglorin_add_test(command_options_test SOURCES ${flow_tests}/command_options_test.cpp LIBS setup_flow)
maglorin_add_test(restart_plan_test SOURCES ${flow_tests}/restart_plan_test.cpp LIBS setup_flow)
maglorin_add_test(setup_log_test SOURCES ${flow_tests}/setup_log_test.cpp LIBS setup_flow)
maglorin_add_test(setup_strings_test SOURCES ${flow_tests}/setup_strings_test.cpp LIBS setup_flow)
maglorin_add_test(message_text_test SOURCES ${flow_tests}/message_text_test.cpp LIBS setup_flow)
maglorin_add_test(installer_service_prerequisite_test
                  SOURCES ${flow_tests}/installer_service_prerequisite_test.cpp LIBS setup_flow)

if(MAGLORIN_WIN32)
    # The exit-code runner: a library for test programs and a command for command tests.
    add_library(exit_code_runner_support STATIC ${flow_tests}/win32/exit_code_runner.cpp)
    target_include_directories(exit_code_runner_support PUBLIC ${flow_tests}/win32)
    target_link_libraries(exit_code_runner_support PUBLIC user32)
    add_executable(exit_code_runner ${flow_tests}/win32/exit_code_runner_main.cpp)
    maglorin_windows_program(exit_code_runner)
    target_link_libraries(exit_code_runner PRIVATE exit_code_runner_support)

    # The Windows side of the flow against the real API.
    maglorin_add_test(extraction_progress_test SOURCES ${flow_tests}/extraction_progress_test.cpp LIBS setup_flow_win32)
    maglorin_add_test(language_phase_test SOURCES ${flow_tests}/language_phase_test.cpp LIBS setup_flow_win32)
    maglorin_add_test(setup_resources_test SOURCES ${flow_tests}/setup_resources_test.cpp LIBS setup_flow version)
    add_dependencies(setup_resources_test setup)

    # The real setup.exe on packages made from it by a fixture.
    maglorin_native_tool(setup_pack_for_flow setup-pack)
    maglorin_add_command_test(setup_program_packages
        COMMAND ${flow_tests}/make_setup_packages.sh ${CMAKE_BINARY_DIR}/bin ${setup_pack_for_flow})
    set_tests_properties(setup_program_packages PROPERTIES FIXTURES_SETUP setup_program_packages)
    add_dependencies(exit_code_runner setup_languages)

    maglorin_add_test(setup_program_test SOURCES ${flow_tests}/setup_program_test.cpp
                      LIBS exit_code_runner_support setup_package advapi32 msi)
    maglorin_add_test(fixed_disk_restart_test SOURCES ${flow_tests}/fixed_disk_restart_test.cpp
                      LIBS exit_code_runner_support setup_flow_win32)
    maglorin_add_command_test(setup_exit_code_of_corrupt_package
        COMMAND ${CMAKE_COMMAND} -DBIN=${CMAKE_BINARY_DIR}/bin -DEMULATOR=${CMAKE_SOURCE_DIR}/scripts/wine-run
                -P ${flow_tests}/win32/corrupt_package_check.cmake)
    add_dependencies(exit_code_runner setup)
    foreach(t setup_program_test fixed_disk_restart_test setup_exit_code_of_corrupt_package)
        set_tests_properties(${t} PROPERTIES FIXTURES_REQUIRED "wine_session;setup_program_packages")
    endforeach()
    # It installs and removes a product: one run of the installer service at a time.
    set_tests_properties(setup_program_test PROPERTIES RESOURCE_LOCK installer_service)
    add_dependencies(setup_program_test setup decoder)
    add_dependencies(fixed_disk_restart_test setup)
    add_dependencies(language_phase_test setup_languages)
endif()
maglorin_add_test(language_choice_test SOURCES ${flow_tests}/language_choice_test.cpp LIBS setup_flow)
maglorin_add_test(resume_names_test SOURCES ${flow_tests}/resume_names_test.cpp LIBS setup_flow)
if(MAGLORIN_WIN32)
    maglorin_add_test(resume_registration_win32_test SOURCES ${flow_tests}/resume_registration_win32_test.cpp
                      LIBS setup_flow_win32 ole32 mstask uuid advapi32)
    set_tests_properties(resume_registration_win32_test PROPERTIES FIXTURES_REQUIRED wine_session)
endif()
maglorin_add_test(language_strings_test SOURCES ${flow_tests}/language_strings_test.cpp LIBS setup_flow)
target_include_directories(language_strings_test PRIVATE ${CMAKE_SOURCE_DIR}/setup/languages)
if(MAGLORIN_WIN32)
    # One run per locale: Wine takes the user's language from the locale the program starts in.
    add_executable(system_languages_test ${flow_tests}/system_languages_test.cpp)
    target_link_libraries(system_languages_test PRIVATE setup_flow_win32 ${MAGLORIN_GMOCK})
    target_link_options(system_languages_test PRIVATE -mconsole)
    foreach(locale de_DE:1031 fr_FR:1036 en_US:1033)
        string(REPLACE ":" ";" parts ${locale})
        list(GET parts 0 name)
        list(GET parts 1 id)
        add_test(NAME system_languages_${name} COMMAND system_languages_test --gtest_color=no ${id}
                 WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
        maglorin_finish_test(system_languages_${name} "" "")
        set_property(TEST system_languages_${name} APPEND PROPERTY ENVIRONMENT "LC_ALL=${name}.UTF-8" "LANG=${name}.UTF-8")
    endforeach()
endif()
if(MAGLORIN_WIN32)
    # The language dialog under each locale: its caption is the window title in the language the
    # default choice took, and OK keeps that language.
    foreach(locale "de_DE:Maglorin-Setup" "fr_FR:Installation de Maglorin" "en_US:Maglorin Setup")
        string(REPLACE ":" ";" parts "${locale}")
        list(GET parts 0 name)
        list(GET parts 1 title)
        maglorin_add_command_test(setup_language_dialog_${name}
            COMMAND exit_code_runner 1627 testdata/setup-program/asklanguage.exe)
        set_property(TEST setup_language_dialog_${name} APPEND PROPERTY ENVIRONMENT "LC_ALL=${name}.UTF-8" "LANG=${name}.UTF-8")
        set_tests_properties(setup_language_dialog_${name} PROPERTIES
            FIXTURES_REQUIRED "wine_session;setup_program_packages" RESOURCE_LOCK installer_service
            # The dialog must come up in front and be answered: no other program's windows meanwhile.
            RUN_SERIAL TRUE
            PASS_REGULAR_EXPRESSION "dialog: ${title} \\| Please select a language:")
    endforeach()
endif()
