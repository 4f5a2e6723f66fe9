velorin_bench(product_use product_use.cpp)
target_link_libraries(product_use PRIVATE velorin_session_history)
target_compile_definitions(product_use PRIVATE VELORIN_METERNO="${PROJECT_SOURCE_DIR}/resources/meterno")
