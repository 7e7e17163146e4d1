# Export group: EDS files and workbooks written by torvane-cli, read back by independent readers
# (the npm package canopen for EDS, python3-openpyxl for workbooks).
# The configurations (and each slave's PDO list for the EDS check) are in tests/data/export/cases.
set(EXPORT_E2E_DIR ${CMAKE_CURRENT_BINARY_DIR}/export)
set(EXPORT_E2E_SRC ${CMAKE_CURRENT_SOURCE_DIR}/export)

add_test(NAME e2e.export.cli
  COMMAND ${TORVANE_EXPORT_PYTHON} ${EXPORT_E2E_SRC}/export_check.py cli
          $<TARGET_FILE:torvane-cli> ${TORVANE_TEST_DATA_DIR}/export/cases ${EXPORT_E2E_DIR}/out)
set_tests_properties(e2e.export.cli PROPERTIES LABELS e2e FIXTURES_SETUP ExportFiles)

add_test(NAME e2e.export.workbook_reader
  COMMAND ${TORVANE_EXPORT_PYTHON} ${EXPORT_E2E_SRC}/export_check.py workbook
          ${EXPORT_E2E_DIR}/out ${TORVANE_BIN_DIR})
set_tests_properties(e2e.export.workbook_reader PROPERTIES LABELS e2e
  FIXTURES_REQUIRED ExportFiles)

# canopen 6 is installed once into the build tree; later runs reuse it. Its native CRC helper is
# not built: the EDS reader does not use it.
set(EXPORT_NPM_DIR ${CMAKE_BINARY_DIR}/e2e-npm)
add_test(NAME e2e.export.npm_canopen
  COMMAND sh -c "test -f node_modules/canopen/package.json || \
${TORVANE_EXPORT_NPM} install --prefix ${EXPORT_NPM_DIR} --ignore-scripts --no-audit --no-fund --no-save canopen@6"
  WORKING_DIRECTORY ${EXPORT_NPM_DIR})
file(MAKE_DIRECTORY ${EXPORT_NPM_DIR})
set_tests_properties(e2e.export.npm_canopen PROPERTIES LABELS e2e FIXTURES_SETUP CanopenNpm)

add_test(NAME e2e.export.eds_reader
  COMMAND ${TORVANE_EXPORT_NODE} ${EXPORT_E2E_SRC}/check_eds.js ${EXPORT_E2E_DIR}/out)
set_tests_properties(e2e.export.eds_reader PROPERTIES LABELS e2e
  FIXTURES_REQUIRED "ExportFiles;CanopenNpm"
  ENVIRONMENT "NODE_PATH=${EXPORT_NPM_DIR}/node_modules")
