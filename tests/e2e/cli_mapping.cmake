# torvane-cli map and check: exit codes, messages and written files.
set(_map_data ${TORVANE_TEST_DATA_DIR}/mapping)
set(_map_out ${CMAKE_CURRENT_BINARY_DIR}/cli_mapping)
file(MAKE_DIRECTORY ${_map_out})
set(_map_cli ${TORVANE_BIN_DIR}/torvane-cli)

# torvane_cli_mapping_case(NAME <definitions for scripts/cli_mapping_case.cmake>...)
function(torvane_cli_mapping_case name)
  set(defs)
  foreach(def ${ARGN})
    list(APPEND defs "-D${def}")
  endforeach()
  add_test(NAME cli_mapping_${name}
           COMMAND ${CMAKE_COMMAND} -DCLI=${_map_cli} ${defs}
                   -P ${CMAKE_CURRENT_LIST_DIR}/scripts/cli_mapping_case.cmake)
  set_tests_properties(cli_mapping_${name} PROPERTIES LABELS e2e)
endfunction()

# The written file carries the new addresses: mapping it again prints them unchanged.
torvane_cli_mapping_case(map_fits
  "ARGS=map|${_map_data}/map_dense.xml|-o|${_map_out}/dense.xml" RC=0
  "OUT_REGEX=Automatic mapping is successful" MUST_EXIST=${_map_out}/dense.xml
  "THEN_ARGS=map|${_map_out}/dense.xml" THEN_RC=0
  "THEN_REGEX=1   Transmit PDO  8      2\n2   Upload SDO    2      0\n3   Transmit PDO  4      10\n")
torvane_cli_mapping_case(map_overflow_still_writes
  "ARGS=map|${_map_data}/map_overflow.xml|-o|${_map_out}/overflow.chg" RC=3
  "OUT_REGEX=beyond the maximum range,  please decrease" MUST_EXIST=${_map_out}/overflow.chg
  "THEN_ARGS=map|${_map_out}/overflow.chg" THEN_RC=3 "THEN_REGEX=Input bytes: 20")
torvane_cli_mapping_case(map_missing_bytes_refused
  "ARGS=map|${_map_data}/map_missing_bytes.xml|-o|${_map_out}/refused.xml" RC=1
  "OUT_REGEX=map_missing_bytes.xml: Please fill in the number of data for each command!"
  MUST_NOT_EXIST=${_map_out}/refused.xml)
torvane_cli_mapping_case(map_missing_file
  "ARGS=map|${_map_out}/no-such-file.chg" RC=1 "OUT_REGEX=no-such-file.chg")
torvane_cli_mapping_case(map_unwritable_output
  "ARGS=map|${_map_data}/map_dense.xml|-o|${_map_out}/no-such-dir/out.chg" RC=1
  "OUT_REGEX=no-such-dir/out.chg")
torvane_cli_mapping_case(map_unknown_option
  "ARGS=map|${_map_data}/map_dense.xml|--fast" RC=2 "OUT_REGEX=unknown option --fast")

# An SDO cycle of 11 ms for 10 SDOs at 250K asks; without --yes the answer is Cancel. OK only
# accepts the cycle: an overlap behind it still fails.
torvane_cli_mapping_case(check_cycle_cancel
  "ARGS=check|${_map_data}/check_slow_sdo.chg" RC=1
  "OUT_REGEX=to configure 10 SDO commands, SDO send cycle takes at least 12 milliseconds!.*-> Cancel")
torvane_cli_mapping_case(check_cycle_yes
  "ARGS=check|${_map_data}/check_slow_sdo.chg|--yes" RC=0 "OUT_REGEX=-> OK \\(--yes\\)")
torvane_cli_mapping_case(check_cycle_yes_still_checks_overlaps
  "ARGS=check|${_map_data}/check_slow_sdo_conflict.chg|--yes" RC=1
  "OUT_REGEX=Mapping address conflict !")

# A failure also names its command(s) on stderr, one line each; stdout stays as it was.
torvane_cli_mapping_case(check_names_overlapping_commands
  "ARGS=check|${_map_data}/check_conflict.xml|--yes" RC=1
  "ERR_REGEX=check_conflict.xml: Mapping address conflict !\ntorvane-cli: [^\n]*check_conflict.xml: command 1: node 3, Transmit PDO\ntorvane-cli: [^\n]*check_conflict.xml: command 2: node 3, Transmit PDO\n$"
  "STDOUT_NOT_REGEX=command")
torvane_cli_mapping_case(check_names_cobid_commands
  "ARGS=check|${_map_data}/check_cobid.xml" RC=1
  "OUT_REGEX=Node-3 and Node-5 a strip under the command PDO COB-ID conflict!"
  "ERR_REGEX=check_cobid.xml: command 1: node 3, Receive PDO\n[^\n]*check_cobid.xml: command 2: node 5, Transmit PDO\n$"
  "STDOUT_NOT_REGEX=command")
torvane_cli_mapping_case(map_names_command_without_bytes
  "ARGS=map|${_map_data}/map_missing_bytes.xml" RC=1
  "ERR_REGEX=command 2 has no byte count.\ntorvane-cli: [^\n]*map_missing_bytes.xml: command 2: node 3, Upload SDO\n$")
torvane_cli_mapping_case(map_names_first_overflowing_command
  "ARGS=map|${_map_data}/map_overflow.xml" RC=3
  "ERR_REGEX=please decrease some commands!\ntorvane-cli: [^\n]*map_overflow.xml: command 2: node 3, Transmit PDO\n$"
  "STDOUT_NOT_REGEX=command 2:")
torvane_cli_mapping_case(check_pass_names_nothing
  "ARGS=check|${_map_data}/check_pass.xml" RC=0 "STDOUT_NOT_REGEX=command")
