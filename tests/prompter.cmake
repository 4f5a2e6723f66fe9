velorin_test(tst_prompter tst_prompter.cpp LIBS velorin_widgets)
