# Unit and integration tests. In the native tree they run directly; in the Windows trees (win32,
# win64) CTest runs every test executable through the Wine wrapper (CMAKE_CROSSCOMPILING_EMULATOR),
# inside one Wine session (prefix, persistent wineserver, Xvfb display) opened and closed by a
# CTest fixture. The 64-bit tree gets a 64-bit prefix and loader of its own.

set(kMaglorinSkippedExitCode 77)  # as in tests/harness/test_main.cpp

macro(maglorin_setup_testing)
    if(MAGLORIN_WIN32)
        # GoogleTest built from Debian's sources with the cross compiler.
        set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
        set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
        foreach(t gtest gtest_main gmock gmock_main)
            maglorin_relax_warnings(${t})
        endforeach()
        set(gtest_library gtest)
        set(MAGLORIN_GMOCK gmock)

        set(MAGLORIN_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
        if(CMAKE_SIZEOF_VOID_P EQUAL 8)
            set(MAGLORIN_WINE_ARCH win64)
        else()
            set(MAGLORIN_WINE_ARCH win32)
        endif()
        set(harness ${CMAKE_SOURCE_DIR}/scripts/wine-harness)
        add_test(NAME wine_session_start COMMAND ${harness} start ${MAGLORIN_WINE_STATE} ${MAGLORIN_WINE_ARCH})
        add_test(NAME wine_session_stop COMMAND ${harness} stop ${MAGLORIN_WINE_STATE})
        set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 600)
        set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session)
    else()
        find_package(GTest REQUIRED)
        set(gtest_library GTest::gtest)
        set(MAGLORIN_GMOCK GTest::gmock)
    endif()
    # Our own main: a run with skipped cases and no failure exits with kMaglorinSkippedExitCode (CTest: skipped).
    add_library(maglorin_test_main STATIC ${CMAKE_SOURCE_DIR}/tests/harness/test_main.cpp)
    target_link_libraries(maglorin_test_main PUBLIC ${gtest_library})
    set(MAGLORIN_GTEST_MAIN maglorin_test_main)
endmacro()

# Environment, time limit and labels every test of this tree gets.
function(maglorin_finish_test test timeout labels)
    maglorin_test_environment(${test})
    if(NOT timeout)
        set(timeout 600)
    endif()
    set_tests_properties(${test} PROPERTIES TIMEOUT ${timeout})
    if(labels)
        set_tests_properties(${test} PROPERTIES LABELS "${labels}")
    endif()
endfunction()

function(maglorin_test_environment test)
    set(env "MAGLORIN_BIN=${CMAKE_BINARY_DIR}/bin" "MAGLORIN_SOURCE=${CMAKE_SOURCE_DIR}")
    if(MAGLORIN_WIN32)
        list(APPEND env "MAGLORIN_WINE_STATE=${MAGLORIN_WINE_STATE}")
        set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED wine_session)
    endif()
    set_tests_properties(${test} PROPERTIES ENVIRONMENT "${env}")
endfunction()

# maglorin_add_test(<name> SOURCES ... [LIBS ...] [LABELS ...] [TIMEOUT s] [ARGS ...])
# One GoogleTest executable, run as one CTest test (in the bin folder, beside the programs).
function(maglorin_add_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS;ARGS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} ${MAGLORIN_GMOCK} ${MAGLORIN_GTEST_MAIN})
    if(MAGLORIN_WIN32)
        target_link_options(${name} PRIVATE -mconsole)
    endif()
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no ${T_ARGS}
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    # Skipped cases show as a skipped test (tests/harness/test_main.cpp), not as a pass.
    set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE ${kMaglorinSkippedExitCode})
    maglorin_finish_test(${name} "${T_TIMEOUT}" "${T_LABELS}")
endfunction()

# maglorin_add_command_test(<name> COMMAND ... [TIMEOUT s]): a test that runs a program or script.
function(maglorin_add_command_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "COMMAND;LABELS" ${ARGN})
    add_test(NAME ${name} COMMAND ${T_COMMAND} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    maglorin_finish_test(${name} "${T_TIMEOUT}" "${T_LABELS}")
endfunction()
