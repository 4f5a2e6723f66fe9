velorin_test(tst_chartplan tst_chartplan.cpp LIBS velorin_spectral)
velorin_test(tst_meterpage tst_meterpage.cpp scriptedprompter.h LIBS velorin_spectral velorin_sim)
