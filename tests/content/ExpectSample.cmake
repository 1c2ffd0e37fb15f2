# Fails unless a sample in content/README.md (between its markers "<!-- MARKER: begin -->" and "<!-- MARKER: end -->")
# is what 'report content/questions.tsv ARGS' prints for the committed questions.tsv (ARGS separated by "|"). With
# QUESTIONS_ONLY, the sample holds the questions alone, not the measures printed before them. With GRADES, the grade
# table of the README (between "<!-- grades: begin -->" and "<!-- grades: end -->") has one row "| Ｎｏ | grade | …"
# for every question of the sample, and no other; each grade is good, weak or broken, and the sample meets its target:
# at most MOST_WEAK weak, none broken.
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND ${TOOL} report ${CONTENT}/questions.tsv --content ${CONTENT} ${args}
                RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE err)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "report failed (${status}): ${err}")
endif()
if(QUESTIONS_ONLY)
    string(FIND "${report}" "\nＮｏ " first)
    math(EXPR first "${first} + 1")
    string(SUBSTRING "${report}" ${first} -1 report)
endif()

file(READ ${CONTENT}/README.md readme)
# The text between "<!-- name: begin -->" plus the opening of a block, and the closing before "<!-- name: end -->".
function(between name opening closing result)
    string(FIND "${readme}" "<!-- ${name}: begin -->\n${opening}" begin)
    string(FIND "${readme}" "${closing}<!-- ${name}: end -->" end)
    if(begin EQUAL -1 OR end EQUAL -1)
        message(FATAL_ERROR "content/README.md has no ${name} markers")
    endif()
    string(LENGTH "<!-- ${name}: begin -->\n${opening}" skip)
    math(EXPR from "${begin} + ${skip}")
    math(EXPR length "${end} - ${from}")
    string(SUBSTRING "${readme}" ${from} ${length} text)
    set(${result} "${text}" PARENT_SCOPE)
endfunction()

between(${MARKER} "```text\n" "```\n" shown)
string(REPLACE "|" " " command "report content/questions.tsv ${ARGS}")
if(NOT shown STREQUAL report)
    message(FATAL_ERROR "the ${MARKER} in content/README.md is not what 'harunire-km-content ${command}' prints: "
                        "replace it with that output")
endif()

if(GRADES)
    string(REGEX MATCHALL "Ｎｏ [0-9]+\n" sampled "${report}")
    string(REGEX REPLACE "Ｎｏ ([0-9]+)\n" "\\1" sampled "${sampled}")
    between(grades "" "" grades)
    string(REGEX MATCHALL "\n\\| [0-9]+ \\|" graded "${grades}")
    string(REGEX REPLACE "\n\\| ([0-9]+) \\|" "\\1" graded "${graded}")
    if(NOT sampled STREQUAL graded)
        message(FATAL_ERROR "the grade table of content/README.md must grade the questions of the ${MARKER}, in "
                            "its order:\nsampled ${sampled}\ngraded  ${graded}")
    endif()
    string(REGEX MATCHALL "\n\\| [0-9]+ \\| [^|]*\\|" rows "${grades}")
    set(weak_count 0)
    set(broken_count 0)
    foreach(row IN LISTS rows)
        string(REGEX REPLACE "\n\\| ([0-9]+) \\| ([^|]*)\\|" "\\2" grade "${row}")
        string(STRIP "${grade}" grade)
        if(grade STREQUAL "weak")
            math(EXPR weak_count "${weak_count} + 1")
        elseif(grade STREQUAL "broken")
            math(EXPR broken_count "${broken_count} + 1")
        elseif(NOT grade STREQUAL "good")
            message(FATAL_ERROR "the grade table of content/README.md grades a question \"${grade}\": "
                                "good, weak or broken are the grades")
        endif()
    endforeach()
    if(weak_count GREATER MOST_WEAK OR broken_count GREATER 0)
        message(FATAL_ERROR "the graded ${MARKER} misses its target: ${weak_count} weak (at most ${MOST_WEAK}), "
                            "${broken_count} broken (none)")
    endif()
endif()
