# torvane-cli with a non-ASCII folder and GB18030 texts: JSON read back by Python's json module,
# the summary in the terminal's encoding, a refused file's path in the message.
add_test(NAME e2e_cli_text
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/cli_text_e2e.py
          $<TARGET_FILE:torvane-cli> ${TORVANE_TEST_DATA_DIR} ${CMAKE_CURRENT_BINARY_DIR}/cli_text)
set_tests_properties(e2e_cli_text PROPERTIES LABELS e2e TIMEOUT 60)
