velorin_bench(startup startup.cpp)
target_link_libraries(startup PRIVATE velorin_app)
