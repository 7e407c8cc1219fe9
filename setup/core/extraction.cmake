# Payload extraction: the portable decisions (paths and the long-path prefix, which entries a
# request takes, clean-up rules, the free-space walk and question, the progress pipe protocol)
# in both trees; the extractor itself, the extraction library binding and the system's side of
# the pipe, the free-space query and the question in the win32 tree.
add_library(setup_extraction STATIC
    ${CMAKE_CURRENT_LIST_DIR}/cleanup_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/extraction_paths.cpp
    ${CMAKE_CURRENT_LIST_DIR}/extraction_plan.cpp
    ${CMAKE_CURRENT_LIST_DIR}/free_space.cpp
    ${CMAKE_CURRENT_LIST_DIR}/low_space_question.cpp
    ${CMAKE_CURRENT_LIST_DIR}/progress_pipe.cpp
)
target_include_directories(setup_extraction PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(setup_extraction PUBLIC setup_package)
