velorin_test(tst_spreadsheet tst_spreadsheet.cpp
             LIBS velorin_spreadsheet velorin_spreadsheet_widgets PkgConfig::LIBZIP)
