velorin_test(tst_shell tst_shell.cpp apptestsupport.h LIBS velorin_app)
add_dependencies(tst_shell velorin_lrelease)
