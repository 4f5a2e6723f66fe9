velorin_test(tst_report tst_report.cpp scriptedprompter.h LIBS velorin_report)
target_compile_definitions(tst_report PRIVATE VELORIN_REPORT_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data/report")
add_dependencies(tst_report velorin_lrelease)
