# torvane-cli monitor against torvane-gatewaysim playing a pattern of input values.
add_test(NAME e2e_monitor
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/monitor_e2e.py
          ${TORVANE_BIN_DIR} ${TORVANE_TEST_DATA_DIR} ${CMAKE_CURRENT_BINARY_DIR}/monitor)
set_tests_properties(e2e_monitor PROPERTIES LABELS e2e TIMEOUT 240)
