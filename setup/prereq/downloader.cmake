# The downloader: the portable decisions (addresses and file names, the status table, range and
# resume checks, the retry budget) in both trees.
add_library(setup_download STATIC
    ${CMAKE_CURRENT_LIST_DIR}/download_address.cpp
    ${CMAKE_CURRENT_LIST_DIR}/download_status.cpp
)
target_include_directories(setup_download PUBLIC ${CMAKE_CURRENT_LIST_DIR})

