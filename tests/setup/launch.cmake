# The installer launch: command line, instance choice, installed-product questions and exit-code
# rules natively; msi.dll, msiexec.exe and the launch itself under Wine.
set(launch_tests ${CMAKE_CURRENT_LIST_DIR})
maglorin_add_test(installer_command_line_test SOURCES ${launch_tests}/installer_command_line_test.cpp LIBS setup_launch)
maglorin_add_test(instance_choice_test SOURCES ${launch_tests}/instance_choice_test.cpp LIBS setup_launch)
maglorin_add_test(installed_products_test SOURCES ${launch_tests}/installed_products_test.cpp LIBS setup_launch)
maglorin_add_test(installer_outcome_test SOURCES ${launch_tests}/installer_outcome_test.cpp LIBS setup_launch)

# Under Wine: databases built by wixl, installed and removed by Wine's own msiexec, asked about
# through msi.dll. The tests install products, so they never run beside each other.
if(MAGLORIN_WIN32)
    maglorin_native_tool(setup_pack_tool setup-pack)
    maglorin_add_command_test(launch_packages
        COMMAND ${launch_tests}/make_launch_packages.sh ${CMAKE_BINARY_DIR}/bin ${setup_pack_tool})
    set_tests_properties(launch_packages PROPERTIES FIXTURES_SETUP launch_packages)
    add_library(launch_test_support STATIC ${launch_tests}/launch_test_support_win32.cpp)
    target_include_directories(launch_test_support PUBLIC ${launch_tests})
    target_link_libraries(launch_test_support PUBLIC setup_launch_win32)
    foreach(t msi_library_win32_test installer_launch_win32_test)
        maglorin_add_test(${t} SOURCES ${launch_tests}/${t}.cpp LIBS launch_test_support)
        set_tests_properties(${t} PROPERTIES FIXTURES_REQUIRED "wine_session;launch_packages"
                                             RESOURCE_LOCK installer_service)
    endforeach()
endif()
if(MAGLORIN_WIN32)
    maglorin_add_test(instances_dialog_win32_test
        SOURCES ${launch_tests}/instances_dialog_win32_test.cpp LIBS setup_launch_win32)
endif()
