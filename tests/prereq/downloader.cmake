# The downloader. Natively: addresses and file names, the status table, range and resume checks,
# the retry budget.
set(download_tests ${CMAKE_CURRENT_LIST_DIR})
maglorin_add_test(download_address_test SOURCES ${download_tests}/download_address_test.cpp LIBS setup_download)
maglorin_add_test(download_status_test SOURCES ${download_tests}/download_status_test.cpp LIBS setup_download)
