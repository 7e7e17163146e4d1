# torvane-cli verify and diff against torvane-gatewaysim: what a download put on the gateway
# compares equal, and every kind of change shows as exactly its differences.
set(TORVANE_VERIFY_CASES
  verify-new verify-nmt-yes verify-slave-unmapped verify-compatible verify-cut-85
  verify-changed-field verify-other-store verify-fault diff-files diff-xml-both-ways)
foreach(case ${TORVANE_VERIFY_CASES})
  add_test(NAME e2e_${case}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/verify_e2e.py
            --bin ${TORVANE_BIN_DIR} --work ${CMAKE_CURRENT_BINARY_DIR}/verify/${case}
            --case ${case} --data ${TORVANE_TEST_DATA_DIR})
  set_tests_properties(e2e_${case} PROPERTIES LABELS e2e TIMEOUT 180)
endforeach()
