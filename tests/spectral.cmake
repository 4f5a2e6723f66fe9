velorin_test(tst_chartplan tst_chartplan.cpp LIBS velorin_spectral)
velorin_test(tst_meterpage tst_meterpage.cpp scriptedprompter.h LIBS velorin_spectral velorin_sim)
add_test(NAME cli_spectral_history
  COMMAND velorin-cli --simulate KV670 spectral-history --out ${CMAKE_CURRENT_BINARY_DIR}/cli_spectra.xlsx)
set_tests_properties(cli_spectral_history PROPERTIES PASS_REGULAR_EXPRESSION "4 spectra written")
add_test(NAME cli_spectral_usage COMMAND velorin-cli --simulate KV510 spectral)
set_tests_properties(cli_spectral_usage PROPERTIES WILL_FAIL TRUE)
velorin_test(tst_spectralscreen tst_spectralscreen.cpp LIBS velorin_spectral)
