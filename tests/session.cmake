velorin_test(tst_comparisonsession tst_comparisonsession.cpp apptestsupport.h scriptedprompter.h LIBS velorin_app velorin_sim)
target_compile_definitions(tst_comparisonsession PRIVATE VELORIN_METERNO="${PROJECT_SOURCE_DIR}/resources/meterno"
                                                         VELORIN_CLI="$<TARGET_FILE:velorin-cli>")
add_dependencies(tst_comparisonsession velorin-cli)
