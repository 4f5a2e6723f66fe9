velorin_test(tst_hostile tst_hostile.cpp LIBS velorin_exchange velorin_report PkgConfig::LIBZIP)

# The command line's files, unlucky and hostile, as root and as an unprivileged user.
add_test(NAME file_failures
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/file_failures.sh $<TARGET_FILE:velorin-cli>
                 $<TARGET_FILE:tst_hostile>)
set_tests_properties(file_failures PROPERTIES TIMEOUT 600)
