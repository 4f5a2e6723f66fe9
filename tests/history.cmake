# The measurement history on the real SQLite, and on a real PostgreSQL server that the suite starts
# itself (history_pg.sh) as a fixture, so the tests that need it run with ctest -j too.
add_executable(history_writer history_writer.cpp historytestsupport.h)
target_link_libraries(history_writer PRIVATE velorin_history)

velorin_test(tst_history tst_history.cpp historytestsupport.h LIBS velorin_history_window)
target_compile_definitions(tst_history PRIVATE
  VELORIN_HISTORY_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data/history"
  VELORIN_HISTORY_WRITER="$<TARGET_FILE:history_writer>"
  VELORIN_CLI="$<TARGET_FILE:velorin-cli>")
add_dependencies(tst_history history_writer velorin-cli)

set(VELORIN_PG_STATE ${CMAKE_CURRENT_BINARY_DIR}/history-pg)
add_test(NAME history_pg_start COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/history_pg.sh start ${VELORIN_PG_STATE})
add_test(NAME history_pg_stop COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/history_pg.sh stop ${VELORIN_PG_STATE})
set_tests_properties(history_pg_start PROPERTIES FIXTURES_SETUP history_pg)
set_tests_properties(history_pg_stop PROPERTIES FIXTURES_CLEANUP history_pg)

velorin_test(tst_historylab tst_historylab.cpp historytestsupport.h LIBS velorin_history_window)
target_compile_definitions(tst_historylab PRIVATE
  VELORIN_PG_SOCKET_FILE="${VELORIN_PG_STATE}/socket"
  VELORIN_HISTORY_WRITER="$<TARGET_FILE:history_writer>"
  VELORIN_CLI="$<TARGET_FILE:velorin-cli>")
add_dependencies(tst_historylab history_writer velorin-cli)
set_tests_properties(tst_historylab PROPERTIES FIXTURES_REQUIRED history_pg)

# Faults the command line must not hide. A preloaded stand-in for a full disk needs no
# privileges; the test runs as the suite's user and, under root, again as nobody.
add_library(velorin_write_fault MODULE writefault.c)
target_link_libraries(velorin_write_fault PRIVATE ${CMAKE_DL_LIBS})
# Preloaded into other programs: it brings no sanitizer runtime of its own.
target_compile_options(velorin_write_fault PRIVATE -fno-sanitize=all)
target_link_options(velorin_write_fault PRIVATE -fno-sanitize=all)
velorin_test(tst_historyfaults tst_historyfaults.cpp historytestsupport.h
             LIBS velorin_history Qt6::Network)
set(VELORIN_HISTORY_FAULT_TOOLS
  VELORIN_CLI=$<TARGET_FILE:velorin-cli>
  VELORIN_WRITE_FAULT_SHIM=$<TARGET_FILE:velorin_write_fault>
  VELORIN_HISTORY_WRITER=$<TARGET_FILE:history_writer>
  VELORIN_HISTORY_DATA=${CMAKE_CURRENT_SOURCE_DIR}/data/history)
foreach(tool ${VELORIN_HISTORY_FAULT_TOOLS})
  string(REPLACE "=" "=\"" quoted "${tool}")
  target_compile_definitions(tst_historyfaults PRIVATE "${quoted}\"")
endforeach()
add_dependencies(tst_historyfaults velorin-cli history_writer velorin_write_fault)
add_test(NAME tst_historyfaults_unprivileged
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/history_unprivileged.sh
                 $<TARGET_FILE:tst_historyfaults> ${VELORIN_HISTORY_FAULT_TOOLS})
set_tests_properties(tst_historyfaults_unprivileged PROPERTIES TIMEOUT 300)

# The window on two screens, in Chinese, by keyboard and by its accessible names.
velorin_test(tst_historywindow tst_historywindow.cpp historytestsupport.h offscreenscreens.h
             LIBS velorin_history_window)
add_dependencies(tst_historywindow velorin_lrelease)
