velorin_test(tst_replies tst_replies.cpp LIBS velorin_protocol velorin_sim)
