# The workspace and the command line writing the measurement history, on real SQLite files.
velorin_test(tst_historyflow tst_historyflow.cpp apptestsupport.h scriptedprompter.h LIBS velorin_app velorin_sim)
target_compile_definitions(tst_historyflow PRIVATE VELORIN_METERNO="${PROJECT_SOURCE_DIR}/resources/meterno"
                                                   VELORIN_CLI="$<TARGET_FILE:velorin-cli>")
add_dependencies(tst_historyflow velorin-cli)
