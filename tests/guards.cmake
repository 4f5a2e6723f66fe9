# The single-instance guard alone: its sources, not the whole application layer.
velorin_test(tst_singleinstance tst_singleinstance.cpp
             ${PROJECT_SOURCE_DIR}/app/singleinstance.cpp ${PROJECT_SOURCE_DIR}/app/singleinstance.h
             LIBS Qt6::Widgets Qt6::Network)
target_include_directories(tst_singleinstance PRIVATE ${PROJECT_SOURCE_DIR}/app)

add_test(NAME commandline_guards
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/commandline_guards.sh $<TARGET_FILE:velorin-cli>
                 $<TARGET_FILE:velorin> ${CMAKE_CURRENT_BINARY_DIR}/commandline_guards)
set_tests_properties(commandline_guards PROPERTIES TIMEOUT 120)
