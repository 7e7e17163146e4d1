# PLC hand-off: torvane-cli tags and report against the golden files, the TIA workbook read with
# openpyxl (and LibreOffice when installed), the PDF read with pdftotext.
add_test(NAME e2e.plc.cli
  COMMAND ${TORVANE_EXPORT_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/plc/plc_check.py
          $<TARGET_FILE:torvane-cli> ${TORVANE_TEST_DATA_DIR} ${CMAKE_CURRENT_BINARY_DIR}/plc)
set_tests_properties(e2e.plc.cli PROPERTIES LABELS e2e)
