# The workspace and the command line writing the measurement history, on real SQLite files.
velorin_test(tst_historyflow tst_historyflow.cpp apptestsupport.h scriptedprompter.h LIBS velorin_app velorin_sim)
target_compile_definitions(tst_historyflow PRIVATE VELORIN_METERNO="${PROJECT_SOURCE_DIR}/resources/meterno"
                                                   VELORIN_CLI="$<TARGET_FILE:velorin-cli>")
add_dependencies(tst_historyflow velorin-cli)

# velorin-cli and the workspace write to the history in the user's data folder by default: every
# test gets a data folder in the build tree instead, so the suite never writes the user's own.
function(velorin_tests_private_data)
  get_directory_property(all_tests TESTS)
  foreach(t ${all_tests})
    set_property(TEST ${t} APPEND PROPERTY ENVIRONMENT
                 "XDG_DATA_HOME=${CMAKE_CURRENT_BINARY_DIR}/data-home")
  endforeach()
endfunction()
cmake_language(DEFER CALL velorin_tests_private_data)
