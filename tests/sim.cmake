velorin_test(tst_sim tst_sim.cpp LIBS velorin_sim)
