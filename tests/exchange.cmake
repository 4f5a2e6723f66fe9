velorin_test(tst_stdcolorlib tst_stdcolorlib.cpp fakes.h LIBS velorin_exchange velorin_sim)
velorin_test(tst_comparisonsheet tst_comparisonsheet.cpp sheetcells.h LIBS velorin_exchange)
