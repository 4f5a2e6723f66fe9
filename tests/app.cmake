velorin_test(tst_mainwindow tst_mainwindow.cpp LIBS velorin_app)
velorin_test(tst_workspacepage tst_workspacepage.cpp LIBS velorin_app)
# The window loads the compiled translations from beside the test executables.
add_dependencies(tst_mainwindow velorin_lrelease)
target_compile_definitions(tst_mainwindow PRIVATE VELORIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
target_compile_definitions(tst_workspacepage PRIVATE VELORIN_METERNO="${PROJECT_SOURCE_DIR}/resources/meterno")
velorin_test(tst_workspaceflow tst_workspaceflow.cpp LIBS velorin_app)
add_dependencies(tst_workspaceflow velorin_lrelease)
target_compile_definitions(tst_workspaceflow PRIVATE VELORIN_METERNO="${PROJECT_SOURCE_DIR}/resources/meterno")
velorin_test(tst_recordsflow tst_recordsflow.cpp apptestsupport.h scriptedprompter.h sheetcells.h LIBS velorin_app velorin_sim)
target_compile_definitions(tst_recordsflow PRIVATE VELORIN_METERNO="${PROJECT_SOURCE_DIR}/resources/meterno"
                                                   VELORIN_CLI="$<TARGET_FILE:velorin-cli>")
add_dependencies(tst_recordsflow velorin-cli)
