# The installer launch: command line, instance choice, installed-product questions and exit-code
# rules natively; msi.dll, msiexec.exe and the launch itself under Wine.
set(launch_tests ${CMAKE_CURRENT_LIST_DIR})
maglorin_add_test(installer_command_line_test SOURCES ${launch_tests}/installer_command_line_test.cpp LIBS setup_launch)
maglorin_add_test(instance_choice_test SOURCES ${launch_tests}/instance_choice_test.cpp LIBS setup_launch)
maglorin_add_test(installed_products_test SOURCES ${launch_tests}/installed_products_test.cpp LIBS setup_launch)
maglorin_add_test(installer_outcome_test SOURCES ${launch_tests}/installer_outcome_test.cpp LIBS setup_launch)
