velorin_test(tst_chartexport tst_chartexport.cpp scriptedprompter.h
  LIBS velorin_analysis velorin_spectral)
