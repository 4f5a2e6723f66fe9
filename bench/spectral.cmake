velorin_bench(chart_paint chart_paint.cpp)
target_link_libraries(chart_paint PRIVATE velorin_spectral Qt6::Widgets)
velorin_bench(spectral_history spectral_history.cpp)
target_link_libraries(spectral_history PRIVATE velorin_spectral Qt6::Widgets)
