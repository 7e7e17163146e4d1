# torvane-cli download, upload, verify and diff against torvane-gatewaysim on a pseudo-terminal,
# with the real waits. One ctest case per scenario so they can run in parallel.
function(torvane_sim_cases script prefix)
  foreach(case ${ARGN})
    add_test(NAME ${prefix}${case}
      COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/${script} --bin ${TORVANE_BIN_DIR}
              --work ${CMAKE_CURRENT_BINARY_DIR}/${prefix}/${case} --case ${case}
              --data ${TORVANE_TEST_DATA_DIR})
    set_tests_properties(${prefix}${case} PROPERTIES LABELS e2e TIMEOUT 180)
  endforeach()
endfunction()
torvane_sim_cases(transfer_e2e.py e2e_transfer_
  roundtrip-compatible roundtrip-new roundtrip-slave
  fault-silent fault-drop-data-compatible fault-bad-options-reply
  fault-upload-bad-reply fault-upload-drop-request old-format-question port-busy
  port-not-terminal)
torvane_sim_cases(verify_e2e.py e2e_
  verify-new verify-compatible
  verify-cut-85 verify-changed-field verify-fault diff-files)
