# The downloader: the portable decisions (addresses and file names, the status table, range and
# resume checks, the retry budget) in both trees; the WinINet jobs and the address check in the
# win32 tree.
add_library(setup_download STATIC
    ${CMAKE_CURRENT_LIST_DIR}/download_address.cpp
    ${CMAKE_CURRENT_LIST_DIR}/download_status.cpp
)
target_include_directories(setup_download PUBLIC ${CMAKE_CURRENT_LIST_DIR})

if(MAGLORIN_WIN32)
    add_library(setup_download_win32 STATIC
        ${CMAKE_CURRENT_LIST_DIR}/win32/download_job_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/download_transfer_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/ftp_request_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/http_request_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/internet_session_win32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/url_check_win32.cpp
    )
    target_include_directories(setup_download_win32 PUBLIC ${CMAKE_CURRENT_LIST_DIR}/win32
                               ${CMAKE_SOURCE_DIR}/setup/core/win32)
    target_link_libraries(setup_download_win32 PUBLIC setup_download shared_win32_handles wininet user32)
endif()
