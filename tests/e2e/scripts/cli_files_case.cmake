# One case of the cli_files group: cmake -DCLI=... -DCASE=... -DDATA=... -DWORK=... -P this file
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# run(RC <expected exit code> ARGS <args...> [OUT <text expected on stdout>...]
#     [ERR <text expected on stderr>...])
function(run)
  cmake_parse_arguments(R "" "RC" "ARGS;OUT;ERR" ${ARGN})
  execute_process(COMMAND ${CLI} ${R_ARGS} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL R_RC)
    message(FATAL_ERROR "torvane-cli ${R_ARGS}: exit ${rc}, expected ${R_RC}\n${out}\n${err}")
  endif()
  foreach(text ${R_OUT})
    string(FIND "${out}" "${text}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "torvane-cli ${R_ARGS}: stdout lacks '${text}':\n${out}")
    endif()
  endforeach()
  foreach(text ${R_ERR})
    string(FIND "${err}" "${text}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "torvane-cli ${R_ARGS}: stderr lacks '${text}':\n${err}")
    endif()
  endforeach()
  set(LAST_OUT "${out}" PARENT_SCOPE)
  set(LAST_ERR "${err}" PARENT_SCOPE)
endfunction()

function(same a b)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${a} ${b} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${a} and ${b} differ")
  endif()
endfunction()

if(CASE STREQUAL "new")
  run(RC 0 ARGS new --master a.chg)
  same(${WORK}/a.chg ${DATA}/new_master.chg)
  run(RC 0 ARGS new --slave s.xml)
  file(READ ${WORK}/s.xml xml)
  string(FIND "${xml}" "<?xml version=\"1.0\" encoding=\"gb2312\"?>" at)
  string(FIND "${xml}" "<ConfigType Value=\"TAVO20S\"/>" slave)
  if(NOT at EQUAL 0 OR slave EQUAL -1)
    message(FATAL_ERROR "unexpected XML:\n${xml}")
  endif()
  run(RC 0 ARGS new --slave s.chg)
  run(RC 0 ARGS show s.chg --json OUT "\"ConfigType\":1" "\"SizeByTypeA\":\"112\"")

elseif(CASE STREQUAL "convert")
  run(RC 0 ARGS convert ${DATA}/new_master.chg a.xml)
  if(NOT LAST_ERR STREQUAL "")
    message(FATAL_ERROR "nothing was left out, yet:\n${LAST_ERR}")
  endif()
  # Values XML cannot hold are named, each with its value, in one line; the file is written.
  foreach(pair
      "cycles_master.chg|The Cycle for RPDO Transmission (55), Output Data Processing (Clear)"
      "slave_block.chg|CANopen Baud Rate (500K), CANopen Node ID (9), Clear Data Time for RPDO (5), Delay to Start up (150)")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 in)
    list(GET pair 1 named)
    set(out convert-${in}.xml)
    run(RC 0 ARGS convert ${DATA}/${in} ${out})
    if(NOT LAST_ERR STREQUAL "torvane-cli: warning: ${out} does not hold: ${named}\n")
      message(FATAL_ERROR "convert ${in}: unexpected warning:\n${LAST_ERR}")
    endif()
    if(NOT EXISTS ${WORK}/${out})
      message(FATAL_ERROR "convert ${in}: nothing written")
    endif()
  endforeach()
  # Read back, the XML file is a new configuration of its type plus what it holds: converting
  # it again leaves nothing out.
  run(RC 0 ARGS convert convert-slave_block.chg.xml again.xml)
  if(NOT LAST_ERR STREQUAL "")
    message(FATAL_ERROR "a re-read XML file lost more:\n${LAST_ERR}")
  endif()
  run(RC 0 ARGS show again.xml --json OUT "\"ConfigType\":1" "\"SizeByTypeA\":\"112\""
      "\"SlaveNodeAddress\":\"1\"")
  run(RC 0 ARGS convert a.xml b.chg)
  same(${WORK}/b.chg ${DATA}/new_master.chg)
  # Converting in place goes through a temporary file.
  run(RC 0 ARGS convert b.chg b.chg)
  same(${WORK}/b.chg ${DATA}/new_master.chg)
  run(RC 0 ARGS convert ${DATA}/escapes.chg e.xml)
  run(RC 0 ARGS convert e.xml e.chg)
  run(RC 0 ARGS show e.chg --json OUT "\"NodeName\":\"a\\\"b\\\\c中\\n\"")

elseif(CASE STREQUAL "json")
  run(RC 0 ARGS show ${DATA}/new_master.chg --json)
  file(READ ${DATA}/new_master.json expected)
  if(NOT LAST_OUT STREQUAL expected)
    message(FATAL_ERROR "JSON differs:\n${LAST_OUT}\nexpected:\n${expected}")
  endif()
  run(RC 0 ARGS show --json ${DATA}/escapes.chg
      OUT "\"NodeCount\":1" "{\"NodeAddress\":\"5\",\"NodeName\"" "\"Bytes\":\"4\"")
  run(RC 0 ARGS show ${DATA}/escapes.chg
      OUT "CANopen Master configuration" "edition 500" "Nodes: 1" "    1  address 5" "Commands: 2"
          "Transmit PDO")

elseif(CASE STREQUAL "usage")
  run(RC 2 ARGS)
  run(RC 2 ARGS new a.chg ERR "--master")
  run(RC 2 ARGS new --master --bogus a.chg ERR "--bogus")
  # An empty output name; a shell passes it on, as a CMake list would not.
  foreach(args "map '${DATA}/new_master.chg' -o ''" "convert '${DATA}/new_master.chg' ''"
          "new --slave -- ''" "upload --port '' --slave -o a.chg")
    execute_process(COMMAND sh -c "'${CLI}' ${args}" WORKING_DIRECTORY ${WORK}
                    RESULT_VARIABLE rc ERROR_VARIABLE err)
    if(NOT rc EQUAL 2 OR NOT err MATCHES
       "needs a file name|give the output file|file name is empty|needs a device name")
      message(FATAL_ERROR "torvane-cli ${args}: exit ${rc}, expected 2\n${err}")
    endif()
  endforeach()
  if(EXISTS ${WORK}/a.chg)
    message(FATAL_ERROR "a usage error wrote a file")
  endif()

elseif(CASE STREQUAL "bad_input")
  # XML files that hold no configuration: refused by every command, nothing written.
  foreach(bad html.xml bare_filedbus.xml)
    set(in ${DATA}/bad/${bad})
    run(RC 1 ARGS show ${in} ERR "torvane-cli: ${in}: holds no configuration\n")
    run(RC 1 ARGS convert ${in} out.chg ERR "${in}: holds no configuration")
  endforeach()
  run(RC 1 ARGS show ${DATA}/bad/truncated.chg ERR "${DATA}/bad/truncated.chg" "ends early")
  run(RC 1 ARGS convert missing.chg out.chg ERR "missing.chg")
  # An XML file with a capital extension is read as an archive, and refused as one.
  run(RC 0 ARGS new --master holds.xml)
  file(RENAME ${WORK}/holds.xml ${WORK}/holds.XML)
  run(RC 1 ARGS convert holds.XML out.chg ERR "holds.XML")
  if(EXISTS ${WORK}/out.chg)
    message(FATAL_ERROR "a failed conversion wrote its output")
  endif()

elseif(CASE STREQUAL "save_failure")
  run(RC 1 ARGS new --master no/such/dir/a.chg ERR "no/such/dir/a.chg")
  # A folder that takes no new file (even root's) is named as the reason.
  run(RC 1 ARGS new --master /sys/a.chg
      ERR "torvane-cli: cannot save /sys/a.chg: the folder /sys is not writable: ")

elseif(CASE STREQUAL "odd_inputs")
  # Endless, blocking or absent inputs end at once with one line naming the file.
  execute_process(COMMAND mkfifo ${WORK}/fifo.chg RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "mkfifo failed")
  endif()
  file(MAKE_DIRECTORY ${WORK}/folder.chg)
  foreach(input /dev/zero fifo.chg folder.chg)
    run(RC 1 ARGS show ${input} ERR "${input}")
    run(RC 1 ARGS convert ${input} out.chg ERR "${input}")
  endforeach()
  run(RC 1 ARGS show /dev/zero ERR "torvane-cli: cannot read /dev/zero: not a regular file\n")
  if(EXISTS ${WORK}/out.chg)
    message(FATAL_ERROR "a refused input wrote an output")
  endif()

elseif(CASE STREQUAL "odd_targets")
  run(RC 0 ARGS new --master a.chg)
  # A pipe reached through /dev/stdout gets the bytes; nothing is replaced.
  file(READ ${WORK}/a.chg expected HEX)
  execute_process(COMMAND ${CLI} convert a.chg /dev/stdout COMMAND od -An -v -tx1
                  WORKING_DIRECTORY ${WORK} OUTPUT_VARIABLE piped RESULT_VARIABLE rc)
  string(REGEX REPLACE "[ \n]" "" piped "${piped}")
  if(NOT rc EQUAL 0 OR NOT piped STREQUAL expected)
    message(FATAL_ERROR "/dev/stdout on a pipe did not get the archive")
  endif()
  run(RC 0 ARGS convert a.chg /dev/null)
  # Which targets the writer takes is its own unit test; here a refused one is one line.
  run(RC 1 ARGS new --master /dev/full ERR "cannot save /dev/full: No space left on device\n")

elseif(CASE STREQUAL "damaged_xml")
  run(RC 0 ARGS new --master whole.xml)
  file(READ ${WORK}/whole.xml xml)
  string(FIND "${xml}" "<Node" cut)
  string(SUBSTRING "${xml}" 0 ${cut} head)
  file(WRITE ${WORK}/cut.xml "${head}<Node Value=\"oops\">\n</Nod>\n")
  run(RC 0 ARGS show cut.xml OUT "CANopen Master configuration"
      ERR "torvane-cli: warning: cut.xml: damaged at line ")
  if(NOT LAST_ERR MATCHES "damaged at line [1-9][0-9]*; read as far as it goes\n$")
    message(FATAL_ERROR "unexpected warning:\n${LAST_ERR}")
  endif()
  run(RC 0 ARGS show whole.xml)
  if(NOT LAST_ERR STREQUAL "")
    message(FATAL_ERROR "a whole file drew a warning:\n${LAST_ERR}")
  endif()
  run(RC 1 ARGS show ${DATA}/bad/no_element.xml ERR "no XML element")

else()
  message(FATAL_ERROR "unknown case ${CASE}")
endif()
