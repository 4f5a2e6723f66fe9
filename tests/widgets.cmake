velorin_test(tst_rbtableheaderview tst_rbtableheaderview.cpp LIBS velorin_widgets)
velorin_test(tst_seteparameterpage tst_seteparameterpage.cpp scriptedprompter.h fakes.h
  LIBS velorin_widgets velorin_sim)
