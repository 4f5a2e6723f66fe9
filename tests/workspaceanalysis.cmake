velorin_test(tst_workspaceanalysis tst_workspaceanalysis.cpp apptestsupport.h LIBS velorin_app)
target_compile_definitions(tst_workspaceanalysis PRIVATE VELORIN_METERNO="${PROJECT_SOURCE_DIR}/resources/meterno")
