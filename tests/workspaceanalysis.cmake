velorin_test(tst_workspaceanalysis tst_workspaceanalysis.cpp apptestsupport.h LIBS velorin_app)
target_compile_definitions(tst_workspaceanalysis PRIVATE VELORIN_METERNO="${PROJECT_SOURCE_DIR}/resources/meterno")
velorin_test(tst_workspacescreen tst_workspacescreen.cpp apptestsupport.h LIBS velorin_app velorin_sim)
# The window loads the compiled translations from beside the test executables.
add_dependencies(tst_workspacescreen velorin_lrelease)
