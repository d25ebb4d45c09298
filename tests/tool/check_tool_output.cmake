# Runs kelvorn-tool once and checks its exit status, its standard output
# (byte for byte against a file) and its standard error (one line matching a
# pattern, or nothing).
#
#   cmake -DTOOL=... -DARGS="faces|file.dxf" -DWORKDIR=... -DEXIT=0
#         [-DSTDOUT_FILE=expected.txt] [-DSTDERR_PATTERN=regex] -P check_tool_output.cmake
string(REPLACE "|" ";" arguments "${ARGS}")
execute_process(
    COMMAND "${TOOL}" ${arguments}
    WORKING_DIRECTORY "${WORKDIR}"
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err
    RESULT_VARIABLE status)

set(failures "")
if(NOT status STREQUAL "${EXIT}")
    string(APPEND failures "exit status ${status}, expected ${EXIT}\n")
endif()

if(DEFINED STDOUT_FILE)
    file(READ "${STDOUT_FILE}" expected)
    if(NOT out STREQUAL expected)
        string(APPEND failures "standard output differs from ${STDOUT_FILE}:\n${out}\n")
    endif()
elseif(NOT out STREQUAL "")
    string(APPEND failures "unexpected standard output:\n${out}\n")
endif()

if(DEFINED STDERR_PATTERN)
    string(REGEX MATCHALL "\n" line_ends "${err}")
    list(LENGTH line_ends lines)
    if(NOT lines EQUAL 1 OR NOT err MATCHES "${STDERR_PATTERN}")
        string(APPEND failures "standard error is not one line matching '${STDERR_PATTERN}':\n${err}\n")
    endif()
elseif(NOT err STREQUAL "")
    string(APPEND failures "unexpected standard error:\n${err}\n")
endif()

if(failures)
    message(FATAL_ERROR "kelvorn-tool ${arguments}:\n${failures}")
endif()
