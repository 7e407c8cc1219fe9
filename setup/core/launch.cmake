# The installer launch: the command line, the instance choice, the installed-product questions
# and the exit-code rules in both trees; msi.dll, the "Multiple Instances" dialog and the run of
# msiexec.exe in the win32 tree.
add_library(setup_launch STATIC
    ${CMAKE_CURRENT_LIST_DIR}/installed_products.cpp
    ${CMAKE_CURRENT_LIST_DIR}/installer_command_line.cpp
    ${CMAKE_CURRENT_LIST_DIR}/installer_outcome.cpp
    ${CMAKE_CURRENT_LIST_DIR}/instance_choice.cpp
)
target_include_directories(setup_launch PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(setup_launch PUBLIC setup_config setup_extraction)

if(MAGLORIN_WIN32)
    add_library(setup_launch_win32 STATIC
        ${CMAKE_CURRENT_LIST_DIR}/win32/installer_launch_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/instances_dialog_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/msi_library_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/windows_bitness_win32.cpp
    )
    target_include_directories(setup_launch_win32 PUBLIC ${CMAKE_CURRENT_LIST_DIR}/win32)
    target_link_libraries(setup_launch_win32 PUBLIC setup_launch setup_flow setup_extraction_win32 setup_config_win32 user32 comctl32)
endif()
