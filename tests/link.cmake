velorin_test(tst_link tst_link.cpp fakes.h LIBS velorin_link)
velorin_test(tst_protocol tst_protocol.cpp fakes.h LIBS velorin_protocol)
velorin_test(tst_stack tst_stack.cpp fakes.h LIBS velorin_protocol velorin_sim)
velorin_test(tst_pushframes tst_pushframes.cpp fakes.h LIBS velorin_protocol)
