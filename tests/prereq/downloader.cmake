# The downloader. Natively: addresses and file names, the status table, range and resume checks,
# the retry budget.
set(download_tests ${CMAKE_CURRENT_LIST_DIR})
maglorin_add_test(download_address_test SOURCES ${download_tests}/download_address_test.cpp LIBS setup_download)
maglorin_add_test(download_status_test SOURCES ${download_tests}/download_status_test.cpp LIBS setup_download)

# Under Wine: real downloads through WinINet from servers on 127.0.0.1 that a fixture starts and
# stops (nginx for HTTP and HTTPS, a Python server for broken transfers and the proxy, pyftpdlib).
if(MAGLORIN_WIN32)
    set(download_servers_state ${CMAKE_BINARY_DIR}/download-servers)
    maglorin_add_command_test(download_servers_start
        COMMAND ${download_tests}/download_servers.sh start ${download_servers_state} TIMEOUT 120)
    maglorin_add_command_test(download_servers_stop
        COMMAND ${download_tests}/download_servers.sh stop ${download_servers_state} TIMEOUT 60)
    set_tests_properties(download_servers_start PROPERTIES FIXTURES_SETUP download_servers)
    set_tests_properties(download_servers_stop PROPERTIES FIXTURES_CLEANUP download_servers)

    add_library(download_test_support STATIC ${download_tests}/download_test_support_win32.cpp)
    target_include_directories(download_test_support PUBLIC ${download_tests})
    target_link_libraries(download_test_support PUBLIC setup_download_win32)

    foreach(t download_job_test url_check_test)
        maglorin_add_test(${t} SOURCES ${download_tests}/${t}.cpp LIBS download_test_support TIMEOUT 600)
        get_test_property(${t} ENVIRONMENT environment)
        # No proxy from the environment: every address here is 127.0.0.1 or the test proxy.
        set_tests_properties(${t} PROPERTIES
            FIXTURES_REQUIRED "wine_session;download_servers"
            ENVIRONMENT "${environment};MAGLORIN_DOWNLOAD_SERVERS=${download_servers_state}"
            ENVIRONMENT_MODIFICATION "http_proxy=unset:;https_proxy=unset:;ftp_proxy=unset:;all_proxy=unset:;HTTP_PROXY=unset:;HTTPS_PROXY=unset:;FTP_PROXY=unset:;ALL_PROXY=unset:;no_proxy=unset:")
    endforeach()
endif()

if(MAGLORIN_WIN32)
    # The credential dialog, answered by a second thread of the test, against the servers above.
    maglorin_add_test(credential_dialog_win32_test
        SOURCES ${download_tests}/credential_dialog_win32_test.cpp LIBS download_test_support setup_flow_win32 TIMEOUT 300)
    get_test_property(credential_dialog_win32_test ENVIRONMENT environment)
    set_tests_properties(credential_dialog_win32_test PROPERTIES
        FIXTURES_REQUIRED "wine_session;download_servers" RUN_SERIAL TRUE
        ENVIRONMENT "${environment};MAGLORIN_DOWNLOAD_SERVERS=${download_servers_state}"
        ENVIRONMENT_MODIFICATION "http_proxy=unset:;https_proxy=unset:;ftp_proxy=unset:;all_proxy=unset:;HTTP_PROXY=unset:;HTTPS_PROXY=unset:;FTP_PROXY=unset:;ALL_PROXY=unset:;no_proxy=unset:")
endif()
