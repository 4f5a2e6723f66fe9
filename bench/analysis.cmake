velorin_bench(trend_paint trend_paint.cpp)
target_link_libraries(trend_paint PRIVATE velorin_analysis Qt6::Widgets)
velorin_bench(abplot_paint abplot_paint.cpp)
target_link_libraries(abplot_paint PRIVATE velorin_analysis Qt6::Widgets)
