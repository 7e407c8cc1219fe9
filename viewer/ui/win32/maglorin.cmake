# The Windows program maglorin.exe (included by ../CMakeLists.txt in the win32 tree only).
enable_language(RC)
add_library(viewer_ui STATIC
    win32/app_icon.cpp
    win32/clsCommonDialog.cpp
    win32/export_bitmap.cpp
    win32/frame_loop.cpp
    win32/frmCredits.cpp
    win32/frmMain.cpp
    win32/frmMaterial.cpp
    win32/main_menu.cpp
    win32/picture_file.cpp
    win32/texture_watch.cpp
    win32/text_encoding.cpp
    win32/user_settings.cpp
)
target_include_directories(viewer_ui PUBLIC ${CMAKE_SOURCE_DIR}/viewer)
target_link_libraries(viewer_ui PUBLIC shared_win32_handles viewer_ui_core viewer_render viewer_geometry viewer_scene viewer_image
    user32 gdi32 comdlg32 shell32 ole32 oleaut32 uuid advapi32)

add_executable(maglorin win32/main.cpp win32/maglorin.rc)
# The resource compiler's includes are not scanned: changed ids or manifests must rebuild it.
set_source_files_properties(win32/maglorin.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_CURRENT_SOURCE_DIR}/win32/resource_ids.h;${CMAKE_CURRENT_SOURCE_DIR}/win32/maglorin-x86.manifest;${CMAKE_CURRENT_SOURCE_DIR}/win32/maglorin-amd64.manifest")
maglorin_windows_program(maglorin GUI)
target_link_libraries(maglorin PRIVATE viewer_ui)

# The test build of the viewer: the same program plus the query channel the window tests drive.
# Nothing test-only goes into the shipped maglorin.exe.
add_executable(maglorin-test win32/main.cpp win32/test_channel.cpp win32/maglorin.rc)
maglorin_windows_program(maglorin-test GUI)
target_compile_definitions(maglorin-test PRIVATE MAGLORIN_TEST_BUILD)
target_link_libraries(maglorin-test PRIVATE viewer_ui)
