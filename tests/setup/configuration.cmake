# setup.ini: parsing, options, instances, versions and references natively (sanitised in the
# asan tree); the system's folders, environment and registry under Wine.
set(config_tests ${CMAKE_CURRENT_LIST_DIR})
maglorin_add_test(configuration_file_test SOURCES ${config_tests}/configuration_file_test.cpp LIBS setup_config)
maglorin_add_test(general_options_test SOURCES ${config_tests}/general_options_test.cpp LIBS setup_config)
maglorin_add_test(instance_record_test SOURCES ${config_tests}/instance_record_test.cpp LIBS setup_config)
maglorin_add_test(version_number_test SOURCES ${config_tests}/version_number_test.cpp LIBS setup_config)
maglorin_add_test(reference_resolver_test SOURCES ${config_tests}/reference_resolver_test.cpp LIBS setup_config)
if(MAGLORIN_WIN32)
    maglorin_add_test(reference_lookups_win32_test
        SOURCES ${config_tests}/reference_lookups_win32_test.cpp LIBS setup_config_win32)
    maglorin_add_test(configuration_file_win32_test
        SOURCES ${config_tests}/configuration_file_win32_test.cpp LIBS setup_config)
endif()
