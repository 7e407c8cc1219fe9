# Prerequisites: loading, applicability, actions, download places, file checks and exit codes.
maglorin_add_test(prerequisites_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/prerequisites_test.cpp LIBS setup_prerequisites)

if(MAGLORIN_WIN32)
    # setup.exe itself with one prerequisite each, the stand-in installer prereq_sample.exe served
    # by the download test servers over HTTP and FTP (see win32/setup_prerequisites_check.cmake).
    add_executable(prereq_sample ${CMAKE_CURRENT_LIST_DIR}/prereq_sample_win32.cpp)
    target_link_libraries(prereq_sample PRIVATE shared_win32_handles)
    maglorin_windows_program(prereq_sample GUI)
    maglorin_native_tool(setup_pack_for_prerequisites setup-pack)
    maglorin_add_command_test(prerequisite_packages
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/make_prerequisite_packages.sh ${CMAKE_BINARY_DIR}/bin
                ${setup_pack_for_prerequisites} ${download_servers_state})
    set_tests_properties(prerequisite_packages PROPERTIES
        FIXTURES_SETUP prerequisite_packages FIXTURES_REQUIRED download_servers)
    foreach(case http ftp payload badmd5 mandatory cut wizard)
        maglorin_add_command_test(setup_prerequisites_${case}
            COMMAND ${CMAKE_COMMAND} -DCASE=${case} -DBIN=${CMAKE_BINARY_DIR}/bin
                    -DEMULATOR=${CMAKE_SOURCE_DIR}/scripts/wine-run -DSTATE=${download_servers_state}
                    -P ${CMAKE_CURRENT_LIST_DIR}/win32/setup_prerequisites_check.cmake TIMEOUT 300)
        set_tests_properties(setup_prerequisites_${case} PROPERTIES
            FIXTURES_REQUIRED "wine_session;download_servers;prerequisite_packages"
            ENVIRONMENT_MODIFICATION "http_proxy=unset:;https_proxy=unset:;ftp_proxy=unset:;all_proxy=unset:;HTTP_PROXY=unset:;HTTPS_PROXY=unset:;FTP_PROXY=unset:;ALL_PROXY=unset:;no_proxy=unset:")
    endforeach()
    # The wizard's dialog must come up and be answered: no other program's windows meanwhile.
    set_tests_properties(setup_prerequisites_wizard PROPERTIES RUN_SERIAL TRUE)
endif()

if(MAGLORIN_WIN32)
    maglorin_add_test(prerequisites_phase_win32_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/prerequisites_phase_win32_test.cpp LIBS setup_flow_win32)
    target_include_directories(prerequisites_phase_win32_test PRIVATE ${CMAKE_SOURCE_DIR}/tests/setup)
    add_dependencies(prerequisites_phase_win32_test prereq_sample)
    set_tests_properties(prerequisites_phase_win32_test PROPERTIES FIXTURES_REQUIRED wine_session)
endif()

# The wizard's pages, rows, check boxes and result texts.
maglorin_add_test(prerequisite_wizard_model_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/prerequisite_wizard_model_test.cpp LIBS setup_prerequisite_wizard)

if(MAGLORIN_WIN32)
    # The wizard inside the prerequisites phase, answered by a second thread of the test.
    maglorin_add_test(prerequisites_wizard_win32_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/prerequisites_wizard_win32_test.cpp LIBS setup_flow_win32 download_test_support
        TIMEOUT 300)
    target_include_directories(prerequisites_wizard_win32_test PRIVATE ${CMAKE_SOURCE_DIR}/tests/setup)
    add_dependencies(prerequisites_wizard_win32_test prereq_sample)
    get_test_property(prerequisites_wizard_win32_test ENVIRONMENT environment)
    # Its dialogs must come up in front and be answered: no other program's windows meanwhile.
    set_tests_properties(prerequisites_wizard_win32_test PROPERTIES
        FIXTURES_REQUIRED "wine_session;download_servers" RUN_SERIAL TRUE
        ENVIRONMENT "${environment};MAGLORIN_DOWNLOAD_SERVERS=${download_servers_state}"
        ENVIRONMENT_MODIFICATION "http_proxy=unset:;https_proxy=unset:;ftp_proxy=unset:;all_proxy=unset:;HTTP_PROXY=unset:;HTTPS_PROXY=unset:;FTP_PROXY=unset:;ALL_PROXY=unset:;no_proxy=unset:")
endif()
