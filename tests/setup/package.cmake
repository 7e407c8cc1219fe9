# Tests of the package format and the packer. The package library's tests run in both trees
# (under Wine through the Win32 file seam); setup-pack itself is a native program.
add_library(package_test_support STATIC ${CMAKE_CURRENT_LIST_DIR}/package_test_support.cpp)
target_link_libraries(package_test_support PUBLIC package_writer ${MAGLORIN_GTEST_MAIN})

maglorin_add_test(md5_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/md5_test.cpp LIBS package_test_support)
maglorin_add_test(entry_name_check_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/entry_name_check_test.cpp
                  LIBS package_test_support)
maglorin_add_test(payload_reader_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/payload_reader_test.cpp
                  LIBS package_test_support)
maglorin_add_test(package_manifest_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/package_manifest_test.cpp
                  LIBS package_test_support)
if(NOT MAGLORIN_WIN32)
    maglorin_add_test(setup_pack_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/setup_pack_test.cpp
                      LIBS package_test_support)
    add_dependencies(setup_pack_test setup-pack)
endif()
maglorin_add_test(package_file_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/package_file_test.cpp
                  LIBS package_test_support)
