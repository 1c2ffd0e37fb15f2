# Fails unless the sample in content/README.md (between its sample markers) is what 'report --sample 40' prints
# for the committed questions.tsv.
execute_process(COMMAND ${TOOL} report ${CONTENT}/questions.tsv --content ${CONTENT} --sample 40
                RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE err)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "report failed (${status}): ${err}")
endif()
file(READ ${CONTENT}/README.md readme)
string(FIND "${readme}" "<!-- sample: begin -->\n```text\n" begin)
string(FIND "${readme}" "```\n<!-- sample: end -->" end)
if(begin EQUAL -1 OR end EQUAL -1)
    message(FATAL_ERROR "content/README.md has no sample markers")
endif()
string(LENGTH "<!-- sample: begin -->\n```text\n" skip)
math(EXPR from "${begin} + ${skip}")
math(EXPR length "${end} - ${from}")
string(SUBSTRING "${readme}" ${from} ${length} shown)
if(NOT shown STREQUAL report)
    message(FATAL_ERROR "the sample in content/README.md is not what 'harunire-km-content report "
                        "content/questions.tsv --sample 40' prints: replace it with that output")
endif()
