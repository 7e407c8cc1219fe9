# Runs the package whose payload fails its digest quietly under Wine, through the exit-code runner
# (which sees the full exit code and records any message box): the run must end with exit code 1,
# open no message box, and write the message it would have shown to its log.
# -DBIN=<bin folder> -DEMULATOR=<wine-run>
set(log "${BIN}/testdata/setup-program/corrupt-quiet.log")
file(REMOVE "${log}")
string(REPLACE "/" "\\" windowsLog "Z:${log}")
execute_process(COMMAND ${EMULATOR} ${BIN}/exit_code_runner.exe 1 testdata/setup-program/corrupt.exe /exenoui
                        "/exelog:${windowsLog}"
                WORKING_DIRECTORY ${BIN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the quiet run did not end with exit code 1:\n${out}\n${err}")
endif()
if(out MATCHES "dialog: |stopped: ")
    message(FATAL_ERROR "the quiet run showed a message box or did not end:\n${out}")
endif()
set(logText "")
if(EXISTS "${log}")
    file(READ "${log}" logText)
endif()
if(NOT logText MATCHES "message: This archive is corrupted\\.")
    message(FATAL_ERROR "the log does not carry the message:\n${logText}")
endif()
message(STATUS "exit code 1, no message box; the log says: This archive is corrupted.")
