# Runs one torvane-cli command and checks its exit code, its output and the files it leaves.
#   CLI            the program
#   ARGS           arguments, separated by '|'
#   RC             expected exit code
#   OUT_REGEX      optional: a regular expression that stdout + stderr must match
#   ERR_REGEX      optional: a regular expression that stderr alone must match
#   STDOUT_NOT_REGEX optional: a regular expression that stdout alone must not match
#   MUST_EXIST     optional: a file that must exist afterwards
#   MUST_NOT_EXIST optional: a file that must not exist afterwards (removed before the run)
#   THEN_ARGS, THEN_RC, THEN_REGEX  optional: a second command run afterwards, checked the same way
cmake_minimum_required(VERSION 3.25)

function(run_and_check args rc regex)
  string(REPLACE "|" ";" arg_list "${args}")
  execute_process(COMMAND ${CLI} ${arg_list} RESULT_VARIABLE got OUTPUT_VARIABLE out
                  ERROR_VARIABLE out)
  if(NOT got STREQUAL rc)
    message(FATAL_ERROR "torvane-cli ${arg_list}: exit ${got}, expected ${rc}\n${out}")
  endif()
  if(regex AND NOT out MATCHES "${regex}")
    message(FATAL_ERROR "torvane-cli ${arg_list}: output does not match '${regex}':\n${out}")
  endif()
endfunction()

# The same command again with stdout and stderr apart.
function(check_streams args err_regex out_not_regex)
  string(REPLACE "|" ";" arg_list "${args}")
  execute_process(COMMAND ${CLI} ${arg_list} OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(err_regex AND NOT err MATCHES "${err_regex}")
    message(FATAL_ERROR "torvane-cli ${arg_list}: stderr does not match '${err_regex}':\n${err}")
  endif()
  if(out_not_regex AND out MATCHES "${out_not_regex}")
    message(FATAL_ERROR "torvane-cli ${arg_list}: stdout matches '${out_not_regex}':\n${out}")
  endif()
endfunction()

if(MUST_NOT_EXIST)
  file(REMOVE ${MUST_NOT_EXIST})
endif()
if(MUST_EXIST)
  file(REMOVE ${MUST_EXIST})
endif()
run_and_check("${ARGS}" "${RC}" "${OUT_REGEX}")
if(ERR_REGEX OR STDOUT_NOT_REGEX)
  check_streams("${ARGS}" "${ERR_REGEX}" "${STDOUT_NOT_REGEX}")
endif()
if(MUST_EXIST AND NOT EXISTS ${MUST_EXIST})
  message(FATAL_ERROR "${MUST_EXIST} was not written")
endif()
if(MUST_NOT_EXIST AND EXISTS ${MUST_NOT_EXIST})
  message(FATAL_ERROR "${MUST_NOT_EXIST} was written although the command failed")
endif()
if(DEFINED THEN_ARGS)
  run_and_check("${THEN_ARGS}" "${THEN_RC}" "${THEN_REGEX}")
endif()
