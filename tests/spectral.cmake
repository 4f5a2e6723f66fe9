velorin_test(tst_chartplan tst_chartplan.cpp LIBS velorin_spectral)
