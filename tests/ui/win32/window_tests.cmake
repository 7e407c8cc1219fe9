# The program driven from outside under Wine (win32 tree only; included by ../CMakeLists.txt).
maglorin_add_test(ui_window_test
    SOURCES win32/maglorin_window_test.cpp win32/window_driver.cpp
    LIBS user32 gdi32 advapi32 shared_win32_handles
    TIMEOUT 900)
add_dependencies(ui_window_test maglorin-test)
foreach(needed sample_kit_files maglorin-render)
    if(TARGET ${needed})
        add_dependencies(ui_window_test ${needed})
    endif()
endforeach()
# It holds keys through the system's input queue and needs its window in front: nothing else
# may open windows meanwhile.
set_tests_properties(ui_window_test PROPERTIES RUN_SERIAL TRUE)
# Picture files through the portable decoder and the system's picture service.
maglorin_add_test(ui_picture_file_test SOURCES win32/picture_file_test.cpp LIBS viewer_ui)
# The shipped program carries nothing of the test channel; the test build does (so the check can fail).
maglorin_add_command_test(ui_shipped_program_has_no_test_channel
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/win32/no_test_channel.sh $<TARGET_FILE:maglorin> $<TARGET_FILE:maglorin-test>)
# The picture shown re-read when its file is rewritten, and the PNG export, driven the same way.
maglorin_add_test(ui_live_reload_test
    SOURCES win32/live_reload_test.cpp win32/window_driver.cpp
    LIBS viewer_image user32 gdi32 advapi32 shared_win32_handles
    TIMEOUT 600)
add_dependencies(ui_live_reload_test maglorin-test)
if(TARGET sample_kit_files)
    add_dependencies(ui_live_reload_test sample_kit_files)
endif()
set_tests_properties(ui_live_reload_test PROPERTIES RUN_SERIAL TRUE)
