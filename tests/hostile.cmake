velorin_test(tst_hostile tst_hostile.cpp LIBS velorin_exchange velorin_report PkgConfig::LIBZIP)
