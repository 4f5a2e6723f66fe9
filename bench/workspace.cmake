velorin_bench(list_append list_append.cpp)
target_link_libraries(list_append PRIVATE velorin_workspace Qt6::Widgets)
