# Launch conditions: naming the operating system, reading the conditions, every check with its
# tables and texts, against tables natively; against the real system under Wine.
set(prereq_tests ${CMAKE_CURRENT_LIST_DIR})
maglorin_add_test(os_identity_test SOURCES ${prereq_tests}/os_identity_test.cpp LIBS setup_launch_conditions)
maglorin_add_test(launch_conditions_test SOURCES ${prereq_tests}/launch_conditions_test.cpp LIBS setup_launch_conditions)
foreach(t os_identity_test launch_conditions_test)
    target_include_directories(${t} PRIVATE ${prereq_tests} ${CMAKE_SOURCE_DIR}/tests/setup)
endforeach()

if(MAGLORIN_WIN32)
    # The probe evaluates a setup.ini in its own process, under the Windows version Wine
    # reports to it alone; the test program drives it and checks the real system's answers.
    add_executable(launch_conditions_probe ${prereq_tests}/launch_conditions_probe_win32.cpp ${prereq_tests}/versioned_sample.rc)
    target_link_libraries(launch_conditions_probe PRIVATE setup_launch_conditions_win32)
    maglorin_windows_program(launch_conditions_probe)
    maglorin_add_test(launch_conditions_win32_test
        SOURCES ${prereq_tests}/launch_conditions_win32_test.cpp ${prereq_tests}/versioned_sample.rc
        LIBS setup_launch_conditions_win32 ws2_32)
    target_include_directories(launch_conditions_win32_test PRIVATE ${prereq_tests} ${CMAKE_SOURCE_DIR}/tests/setup)
    add_dependencies(launch_conditions_win32_test launch_conditions_probe)
endif()

if(MAGLORIN_WIN32)
    # setup.exe itself: a condition not met ends the run with 0 and a value no table maps with
    # 1, both before anything is extracted; a package whose conditions hold goes on to the
    # installer (which refuses the stand-in database, so its exit code is neither 0 nor 1).
    maglorin_native_tool(setup_pack_for_conditions setup-pack)
    maglorin_add_command_test(launch_condition_packages
        COMMAND ${prereq_tests}/make_condition_packages.sh ${CMAKE_BINARY_DIR}/bin ${setup_pack_for_conditions})
    set_tests_properties(launch_condition_packages PROPERTIES FIXTURES_SETUP launch_condition_packages)
    foreach(case notmet broken met)
        maglorin_add_command_test(setup_launch_conditions_${case}
            COMMAND ${CMAKE_COMMAND} -DCASE=${case} -DBIN=${CMAKE_BINARY_DIR}/bin
                    -DEMULATOR=${CMAKE_SOURCE_DIR}/scripts/wine-run
                    -P ${prereq_tests}/win32/setup_launch_conditions_check.cmake)
        set_tests_properties(setup_launch_conditions_${case} PROPERTIES
            FIXTURES_REQUIRED "wine_session;launch_condition_packages" RESOURCE_LOCK installer_service)
    endforeach()
endif()
