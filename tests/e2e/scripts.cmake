# torvane-cli (and the simulator) driven from Python: each script takes the program or the
# folder of the programs, the test data and a work folder of its own.
function(torvane_script_test name script program)
  add_test(NAME ${name} COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/${script}
           ${program} ${TORVANE_TEST_DATA_DIR} ${CMAKE_CURRENT_BINARY_DIR}/${name})
  set_tests_properties(${name} PROPERTIES LABELS e2e TIMEOUT 240)
endfunction()
# A non-ASCII folder and GB18030 texts: JSON, the summary in the terminal's encoding, refusals.
torvane_script_test(e2e_cli_text cli_text_e2e.py $<TARGET_FILE:torvane-cli>)
# node add from a device file, then show, map and a download to the simulated gateway.
torvane_script_test(e2e_node_add node_e2e.py ${TORVANE_BIN_DIR})
# device: show --json, exit codes, the library in an XDG_DATA_HOME of its own.
torvane_script_test(e2e_device device_e2e.py $<TARGET_FILE:torvane-cli>)
# monitor against the simulator playing a pattern of input values.
torvane_script_test(e2e_monitor monitor_e2e.py ${TORVANE_BIN_DIR})
