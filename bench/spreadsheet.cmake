velorin_bench(export_xlsx export_xlsx.cpp)
# The bare libxlsxwriter loop beside the export is its floor.
pkg_check_modules(BENCH_XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
target_link_libraries(export_xlsx PRIVATE velorin_listexport velorin_exchange velorin_spectral PkgConfig::BENCH_XLSXWRITER)
velorin_bench(read_stdcolor read_stdcolor.cpp)
target_link_libraries(read_stdcolor PRIVATE velorin_spreadsheet)
