# Runs TOOL with ARGS (separated by "|") and fails unless it exits with 0 and prints nothing at all.
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND ${TOOL} ${args} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out STREQUAL "" OR NOT err STREQUAL "")
    string(REPLACE ";" " " command "${TOOL};${args}")
    message(FATAL_ERROR "${command}\nexit status: ${status}\n${out}${err}")
endif()
