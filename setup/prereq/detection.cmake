# Detection searches: files and their versions, registry keys and values, installer-service
# products and components, programs' exit codes. The rules are portable; the machine's answers
# come from the win32 library.
add_library(setup_detection STATIC
    ${CMAKE_CURRENT_LIST_DIR}/detection_search.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_search.cpp
    ${CMAKE_CURRENT_LIST_DIR}/version_range.cpp
)
target_include_directories(setup_detection PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(setup_detection PUBLIC setup_config)

if(MAGLORIN_WIN32)
    add_library(setup_detection_win32 STATIC
        ${CMAKE_CURRENT_LIST_DIR}/win32/detection_system_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/version_resource_win32.cpp
    )
    target_include_directories(setup_detection_win32 PUBLIC ${CMAKE_CURRENT_LIST_DIR}/win32)
    target_link_libraries(setup_detection_win32 PUBLIC setup_detection setup_launch_win32 setup_config_win32 version shell32)
endif()
