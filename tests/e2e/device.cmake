# torvane-cli device: show --json read back by Python's json module, exit codes, and the
# library in an XDG_DATA_HOME of its own.
add_test(NAME e2e_device
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/device_e2e.py
          $<TARGET_FILE:torvane-cli> ${TORVANE_TEST_DATA_DIR} ${CMAKE_CURRENT_BINARY_DIR}/device)
set_tests_properties(e2e_device PROPERTIES LABELS e2e TIMEOUT 60)
