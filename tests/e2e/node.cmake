# torvane-cli node add: a node from a device file, then show, map and a download to the
# simulated gateway.
add_test(NAME e2e_node_add
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/node_e2e.py
          ${TORVANE_BIN_DIR} ${TORVANE_TEST_DATA_DIR} ${CMAKE_CURRENT_BINARY_DIR}/node)
set_tests_properties(e2e_node_add PROPERTIES LABELS e2e TIMEOUT 240)
