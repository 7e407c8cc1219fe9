# setup.ini: the configuration file, its options and instances, version numbers and the
# references inside values. Portable in both trees; the system's answers to the references
# (folders, environment, registry) in the win32 tree.
add_library(setup_config STATIC
    ${CMAKE_CURRENT_LIST_DIR}/configuration_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/extraction_folder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/general_options.cpp
    ${CMAKE_CURRENT_LIST_DIR}/instance_record.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reference_resolver.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registry_location.cpp
    ${CMAKE_CURRENT_LIST_DIR}/version_number.cpp
)
target_include_directories(setup_config PUBLIC ${CMAKE_CURRENT_LIST_DIR})

if(MAGLORIN_WIN32)
    add_library(setup_config_win32 STATIC
        ${CMAKE_CURRENT_LIST_DIR}/win32/reference_lookups_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/registry_access_win32.cpp
    )
    target_include_directories(setup_config_win32 PUBLIC ${CMAKE_CURRENT_LIST_DIR}/win32)
    target_link_libraries(setup_config_win32 PUBLIC setup_config shared_win32_handles shell32 ole32 advapi32)
endif()
