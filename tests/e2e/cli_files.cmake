# torvane-cli new / convert / show, checked from the outside: exit codes, files and output.
foreach(case new convert json usage bad_input save_failure odd_inputs odd_targets damaged_xml)
  add_test(NAME cli_files_${case}
           COMMAND ${CMAKE_COMMAND} -DCLI=${TORVANE_BIN_DIR}/torvane-cli -DCASE=${case}
                   -DDATA=${TORVANE_TEST_DATA_DIR} -DWORK=${CMAKE_CURRENT_BINARY_DIR}/cli_files/${case}
                   -P ${CMAKE_CURRENT_LIST_DIR}/scripts/cli_files_case.cmake)
  set_tests_properties(cli_files_${case} PROPERTIES LABELS e2e)
endforeach()
