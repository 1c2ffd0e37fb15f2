# Generates the question table afresh and fails unless it equals the committed content/questions.tsv.
execute_process(COMMAND ${TOOL} generate --content ${CONTENT} --output ${GENERATED}
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "generate failed (${status}): ${err}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${GENERATED} ${CONTENT}/questions.tsv
                RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
    message(FATAL_ERROR "content/questions.tsv is not what generate makes of the tables in content/: run "
                        "'cmake --build <build folder> --target regenerate_questions' and commit the result")
endif()
