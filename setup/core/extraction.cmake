# Payload extraction: the portable decisions (paths and the long-path prefix, which entries a
# request takes, clean-up rules, the free-space walk and question, the progress pipe protocol)
# in both trees; the extractor itself, the extraction library binding and the system's side of
# the pipe, the free-space query and the question in the win32 tree.
add_library(setup_extraction STATIC
    ${CMAKE_CURRENT_LIST_DIR}/cleanup_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/entry_copy.cpp
    ${CMAKE_CURRENT_LIST_DIR}/extraction_paths.cpp
    ${CMAKE_CURRENT_LIST_DIR}/extraction_plan.cpp
    ${CMAKE_CURRENT_LIST_DIR}/free_space.cpp
    ${CMAKE_CURRENT_LIST_DIR}/low_space_question.cpp
    ${CMAKE_CURRENT_LIST_DIR}/progress_pipe.cpp
)
target_include_directories(setup_extraction PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(setup_extraction PUBLIC setup_package)
target_sources(setup_extraction PRIVATE ${CMAKE_CURRENT_LIST_DIR}/jar_unpacking.cpp)

if(MAGLORIN_WIN32)
    add_library(setup_extraction_win32 STATIC
        ${CMAKE_CURRENT_LIST_DIR}/win32/archive_extraction_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/extraction_cleanup_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/extraction_library_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/groups_extract_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/jar_unpacking_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/payload_extractor_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/progress_pipe_transport_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/system_dialogs_win32.cpp
    )
    target_include_directories(setup_extraction_win32 PUBLIC ${CMAKE_CURRENT_LIST_DIR}/win32)
    target_link_libraries(setup_extraction_win32 PUBLIC setup_extraction setup_config shared_win32_handles advapi32 user32)
endif()
