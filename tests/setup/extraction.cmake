# Payload extraction. The portable decisions natively (and sanitised in the asan tree): paths and
# the long-path prefix, which entries a request takes, clean-up rules, the free-space walk and
# question, the progress pipe protocol.
set(extraction_tests ${CMAKE_CURRENT_LIST_DIR})
maglorin_add_test(extraction_paths_test SOURCES ${extraction_tests}/extraction_paths_test.cpp LIBS setup_extraction)
maglorin_add_test(cleanup_rules_test SOURCES ${extraction_tests}/cleanup_rules_test.cpp LIBS setup_extraction)
maglorin_add_test(progress_pipe_test SOURCES ${extraction_tests}/progress_pipe_test.cpp LIBS setup_extraction)
maglorin_add_test(extraction_plan_test SOURCES ${extraction_tests}/extraction_plan_test.cpp LIBS setup_extraction)
maglorin_add_test(entry_copy_test SOURCES ${extraction_tests}/entry_copy_test.cpp LIBS setup_extraction package_test_support)
maglorin_add_test(jar_unpacking_test SOURCES ${extraction_tests}/jar_unpacking_test.cpp LIBS setup_extraction)

# Under Wine: packages made on the Linux side by a fixture (setup-pack and 7zz), with the
# decoder.dll of this tree, extracted by the real extractor.
if(MAGLORIN_WIN32)
    maglorin_native_tool(setup_pack_tool setup-pack)
    maglorin_add_command_test(extraction_packages
        COMMAND ${extraction_tests}/make_extraction_packages.sh ${CMAKE_BINARY_DIR}/bin ${setup_pack_tool})
    set_tests_properties(extraction_packages PROPERTIES FIXTURES_SETUP extraction_packages)

    add_library(extraction_test_support STATIC ${extraction_tests}/extraction_test_support_win32.cpp)
    target_include_directories(extraction_test_support PUBLIC ${extraction_tests})
    target_link_libraries(extraction_test_support PUBLIC setup_extraction_win32)

    maglorin_add_test(payload_extractor_test SOURCES ${extraction_tests}/payload_extractor_test.cpp
                      LIBS extraction_test_support)
    maglorin_add_test(extraction_cleanup_test SOURCES ${extraction_tests}/extraction_cleanup_test.cpp
                      LIBS extraction_test_support)
    maglorin_add_test(progress_pipe_win32_test SOURCES ${extraction_tests}/progress_pipe_win32_test.cpp
                      LIBS extraction_test_support)
    # Drive S: as a 2 MiB tmpfs for the full-disk test, made after the Wine prefix exists.
    maglorin_add_command_test(small_drive_start
        COMMAND ${extraction_tests}/small_drive.sh start ${MAGLORIN_WINE_STATE})
    maglorin_add_command_test(small_drive_stop
        COMMAND ${extraction_tests}/small_drive.sh stop ${MAGLORIN_WINE_STATE})
    set_tests_properties(small_drive_start PROPERTIES FIXTURES_SETUP small_drive)
    set_tests_properties(small_drive_stop PROPERTIES FIXTURES_CLEANUP small_drive)
    maglorin_add_test(extraction_full_disk_test SOURCES ${extraction_tests}/extraction_full_disk_test.cpp
                      LIBS extraction_test_support)
    set_tests_properties(extraction_full_disk_test PROPERTIES FIXTURES_REQUIRED "wine_session;extraction_packages;small_drive")
    set_tests_properties(extraction_full_disk_test PROPERTIES RESOURCE_LOCK small_drive)

    foreach(t payload_extractor_test extraction_cleanup_test progress_pipe_win32_test extraction_full_disk_test)
        add_dependencies(${t} decoder)
        get_test_property(${t} FIXTURES_REQUIRED required)
        set_tests_properties(${t} PROPERTIES FIXTURES_REQUIRED "${required};extraction_packages")
    endforeach()
endif()
if(MAGLORIN_WIN32)
    add_executable(progress_pipe_server ${extraction_tests}/progress_pipe_server_win32.cpp)
    maglorin_windows_program(progress_pipe_server)
    target_include_directories(progress_pipe_server PRIVATE ${CMAKE_SOURCE_DIR}/setup/core/win32)
    target_link_libraries(progress_pipe_server PRIVATE shared_win32_handles)
    add_dependencies(progress_pipe_win32_test progress_pipe_server)
    add_executable(fake_unpack200 ${extraction_tests}/fake_unpack200_win32.cpp)
    maglorin_windows_program(fake_unpack200)
    add_dependencies(payload_extractor_test fake_unpack200)
endif()
