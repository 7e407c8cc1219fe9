# The package format: the reader of setup's own file, its records, the MD5 integrity check.
# Portable; the file seam has a POSIX and a Win32 side.
add_library(setup_package STATIC
    ${CMAKE_CURRENT_LIST_DIR}/entry_name_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/md5.cpp
    ${CMAKE_CURRENT_LIST_DIR}/package_integrity.cpp
    ${CMAKE_CURRENT_LIST_DIR}/package_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/payload_reader.cpp
)
if(MAGLORIN_WIN32)
    target_sources(setup_package PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win32/package_file_win32.cpp)
    target_link_libraries(setup_package PRIVATE shared_win32_handles)
else()
    target_sources(setup_package PRIVATE ${CMAKE_CURRENT_LIST_DIR}/posix/package_file_posix.cpp)
endif()
target_include_directories(setup_package PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(setup_package PUBLIC shared_context)
