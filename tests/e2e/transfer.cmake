# torvane-cli download and upload against torvane-gatewaysim on a pseudo-terminal, with the
# real waits. One ctest case per scenario so they can run in parallel.
set(TORVANE_TRANSFER_CASES
  roundtrip-compatible roundtrip-new roundtrip-new-no-options roundtrip-slave
  fault-silent fault-drop-data-compatible fault-drop-last-compatible fault-bad-ack-header-new
  fault-bad-options-reply fault-drop-header-slave fault-bad-ack-data-slave
  fault-upload-bad-reply fault-upload-flipped-bit fault-upload-bad-options-reply
  fault-upload-drop-options-request fault-upload-drop-request fault-upload-stored-format
  old-format-question refused-buffer-size refused-too-many-upload-sdo unknown-port port-busy
  roundtrip-monitor-mode any-terminal-path port-not-terminal ports-listing)
foreach(case ${TORVANE_TRANSFER_CASES})
  add_test(NAME e2e_transfer_${case}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/transfer_e2e.py
            --bin ${TORVANE_BIN_DIR} --work ${CMAKE_CURRENT_BINARY_DIR}/transfer/${case}
            --case ${case})
  set_tests_properties(e2e_transfer_${case} PROPERTIES LABELS e2e TIMEOUT 180)
endforeach()
