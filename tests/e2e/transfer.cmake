# torvane-cli download and upload against torvane-gatewaysim on a pseudo-terminal, with the
# real waits. One ctest case per scenario so they can run in parallel.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND AND TARGET torvane-gatewaysim AND TARGET torvane-cli
   AND TARGET torvane_mapping)
  if(NOT TARGET transfer_fixture) # the GUI transfer tests may have defined it already
    add_executable(transfer_fixture ${CMAKE_CURRENT_LIST_DIR}/transfer_fixture.cpp)
    target_link_libraries(transfer_fixture PRIVATE torvane_warnings torvane_model torvane_mapping)
  endif()

  set(TORVANE_TRANSFER_CASES
    roundtrip-compatible roundtrip-new roundtrip-new-no-options roundtrip-slave
    fault-silent fault-drop-data-compatible fault-drop-last-compatible fault-bad-ack-header-new
    fault-bad-options-reply fault-drop-header-slave fault-bad-ack-data-slave
    fault-upload-bad-reply fault-upload-bad-options-reply
    fault-upload-drop-options-request fault-upload-drop-request fault-upload-stored-format
    old-format-question refused-buffer-size refused-too-many-upload-sdo unknown-port port-busy
    simulator-refusals roundtrip-monitor-mode any-terminal-path port-not-terminal ports-listing)
  foreach(case ${TORVANE_TRANSFER_CASES})
    add_test(NAME e2e_transfer_${case}
      COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/transfer_e2e.py
              --bin ${TORVANE_BIN_DIR} --work ${CMAKE_CURRENT_BINARY_DIR}/transfer/${case}
              --case ${case})
    set_tests_properties(e2e_transfer_${case} PROPERTIES LABELS e2e TIMEOUT 180)
  endforeach()
endif()
