velorin_test(tst_workspaceanalysis tst_workspaceanalysis.cpp apptestsupport.h LIBS velorin_app)
target_compile_definitions(tst_workspaceanalysis PRIVATE VELORIN_METERNO="${PROJECT_SOURCE_DIR}/resources/meterno")
velorin_test(tst_workspacescreen tst_workspacescreen.cpp apptestsupport.h LIBS velorin_app velorin_sim)
# The window loads the compiled translations from beside the test executables.
add_dependencies(tst_workspacescreen velorin_lrelease)
# The same at 1.25 and 1.5 times, as a desktop's display setting scales the program.
foreach(scale 1.25 1.5)
  add_test(NAME tst_workspacescreen_scaled_${scale} COMMAND tst_workspacescreen)
  set_tests_properties(tst_workspacescreen_scaled_${scale} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VELORIN_SCREEN_SCALE=${scale}" TIMEOUT 300)
endforeach()
