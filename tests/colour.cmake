velorin_test(tst_colour tst_colour.cpp)

# The command-line calculator agrees with the library and rejects bad input with status 2.
add_test(NAME cli_delta_e_formula
         COMMAND velorin-cli delta-e --formula 6 50 2.6772 -79.7751 50 0 -82.7485)
set_tests_properties(cli_delta_e_formula PROPERTIES PASS_REGULAR_EXPRESSION "^2\\.04[0-9]+\n$")
add_test(NAME cli_delta_e_old_layout
         COMMAND velorin-cli delta-e --old-layout 50 2.5 0 73 25 -18)
set_tests_properties(cli_delta_e_old_layout PROPERTIES
  PASS_REGULAR_EXPRESSION "cmc\\(1:1\\) 42\\.1087547[0-9]*\n△E\\*00 27\\.149228[0-9]*\n$")
add_test(NAME cli_delta_e_bad_arguments COMMAND velorin-cli delta-e 50 2.5 0 73 25)
set_tests_properties(cli_delta_e_bad_arguments PROPERTIES WILL_FAIL TRUE)
