# Runs one launch-condition package of setup.exe quietly under Wine (through the exit-code
# runner, which sees the full exit code) and checks how the run ended:
#   notmet  exit code 0, nothing extracted
#   broken  exit code 1, nothing extracted
#   met     the run went past the conditions on to the installer (which refuses the stand-in
#           database): neither 0 nor 1
# setup's log must tell which it was.
# -DCASE=<name> -DBIN=<bin folder> -DEMULATOR=<wine-run>
set(folder "$ENV{MAGLORIN_WINE_STATE}/prefix/drive_c/maglorin-conditions/${CASE}")
file(REMOVE_RECURSE "${folder}")
set(log "${BIN}/testdata/launch-conditions/${CASE}.log")
file(REMOVE "${log}")
string(REPLACE "/" "\\" windowsLog "Z:${log}")
execute_process(COMMAND ${EMULATOR} ${BIN}/exit_code_runner.exe 0 testdata/launch-conditions/${CASE}.exe /exenoui
                        "/exelog:${windowsLog}"
                WORKING_DIRECTORY ${BIN} OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(logText "")
if(EXISTS "${log}")
    file(READ "${log}" logText)
endif()
if(NOT out MATCHES "exit code: (-?[0-9]+)")
    message(FATAL_ERROR "no exit code from the runner:\n${out}\n${err}")
endif()
set(code ${CMAKE_MATCH_1})
message(STATUS "${CASE}: exit code ${code}")
if(CASE STREQUAL "notmet" OR CASE STREQUAL "broken")
    if(CASE STREQUAL "notmet")
        set(expected 0)
    else()
        set(expected 1)
    endif()
    if(NOT code EQUAL expected)
        message(FATAL_ERROR "${CASE}: exit code ${code}, expected ${expected}\n${out}\n${err}")
    endif()
    if(EXISTS "${folder}")
        message(FATAL_ERROR "${CASE}: files were extracted to ${folder} although a condition stopped the run")
    endif()
    if(CASE STREQUAL "notmet")
        set(text "Launch condition not met: [^\r\n]* can not be installed on systems with colour quality lower than 64 bits.")
    else()
        set(text "Launch condition with a value setup does not know: [^\r\n]* can not be installed on systems with .NET Framework version lower than 2.5")
    endif()
    if(NOT logText MATCHES "${text}")
        message(FATAL_ERROR "${CASE}: the log does not give the condition's text:\n${logText}")
    endif()
else()
    if(code EQUAL 0 OR code EQUAL 1 OR NOT logText MATCHES "launch conditions: all met")
        message(FATAL_ERROR "${CASE}: the run did not go past the conditions (exit code ${code}):\n${logText}")
    endif()
endif()
