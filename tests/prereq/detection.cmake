# Detection searches against a machine made of tables; against the real registry, files with
# version resources and installed products under Wine.
set(prereq_tests ${CMAKE_CURRENT_LIST_DIR})
maglorin_add_test(detection_search_test
    SOURCES ${prereq_tests}/detection_search_test.cpp LIBS setup_detection)
target_include_directories(detection_search_test PRIVATE ${prereq_tests} ${CMAKE_SOURCE_DIR}/tests/setup)

if(MAGLORIN_WIN32)
    enable_language(RC)
    # A library whose only content is a version resource (3.1.4.1), and a small product built
    # by wixl that the tests install and remove with the system's msiexec.
    add_library(versioned_sample SHARED ${prereq_tests}/versioned_sample.cpp ${prereq_tests}/versioned_sample.rc)
    set_target_properties(versioned_sample PROPERTIES PREFIX "")
    set(detection_msi ${CMAKE_BINARY_DIR}/bin/detection_sample.msi)
    add_custom_command(OUTPUT ${detection_msi}
        COMMAND wixl -o ${detection_msi} detection_sample.wxs
        WORKING_DIRECTORY ${prereq_tests}
        DEPENDS ${prereq_tests}/detection_sample.wxs ${prereq_tests}/detection_sample.txt
        COMMENT "Building the detection sample installer database")
    add_custom_target(detection_sample_msi DEPENDS ${detection_msi})

    maglorin_add_test(detection_search_win32_test
        SOURCES ${prereq_tests}/detection_search_win32_test.cpp ${prereq_tests}/versioned_sample.rc
        LIBS setup_detection_win32)
    target_include_directories(detection_search_win32_test PRIVATE ${prereq_tests} ${CMAKE_SOURCE_DIR}/tests/setup)
    add_dependencies(detection_search_win32_test versioned_sample detection_sample_msi)
    # It installs and removes a product: one run of the installer service at a time.
    set_tests_properties(detection_search_win32_test PROPERTIES RESOURCE_LOCK installer_service)
endif()
