file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/made)
velorin_test(tst_numericexchange tst_numericexchange.cpp LIBS velorin_exchange velorin_sim)
target_compile_definitions(tst_numericexchange PRIVATE VELORIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
# The library maker's workbook is taken by the writer and the virtual instrument unchanged.
add_test(NAME cli_make_stdcolor
  COMMAND velorin-cli make-stdcolor ${PROJECT_SOURCE_DIR}/resources/stdcolor-sample.csv
          --model KV670 --out ${CMAKE_CURRENT_BINARY_DIR}/made/StdColor.xlsx)
set_tests_properties(cli_make_stdcolor PROPERTIES PASS_REGULAR_EXPRESSION "3 cards, 6 colours"
                     FIXTURES_SETUP made_stdcolor)
add_test(NAME cli_write_made_stdcolor
  COMMAND velorin-cli --simulate KV670 write-stdcolor ${CMAKE_CURRENT_BINARY_DIR}/made/StdColor.xlsx)
set_tests_properties(cli_write_made_stdcolor PROPERTIES
  PASS_REGULAR_EXPRESSION "successfully! \\(3 cards, 6 colours\\)" FIXTURES_REQUIRED made_stdcolor)
add_test(NAME cli_make_stdcolor_unknown_model
  COMMAND velorin-cli make-stdcolor ${PROJECT_SOURCE_DIR}/resources/stdcolor-sample.csv
          --model KV999 --out ${CMAKE_CURRENT_BINARY_DIR}/made/StdColor.xlsx)
set_tests_properties(cli_make_stdcolor_unknown_model PROPERTIES WILL_FAIL TRUE)
velorin_test(tst_analysis tst_analysis.cpp LIBS velorin_analysis)
add_dependencies(tst_analysis velorin_lrelease)
