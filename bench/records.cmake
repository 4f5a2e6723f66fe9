velorin_bench(import_records import_records.cpp)
target_link_libraries(import_records PRIVATE velorin_workspace Qt6::Widgets)
target_compile_definitions(import_records PRIVATE VELORIN_METERNO="${PROJECT_SOURCE_DIR}/resources/meterno")
