# Products (stored standards with their settings) and lots: the session, the history and the
# command line against the virtual instrument, and the products dialog.
velorin_test(tst_products tst_products.cpp scriptedprompter.h
             LIBS velorin_session_history velorin_products_dialog velorin_sim velorin_link)
target_compile_definitions(tst_products PRIVATE VELORIN_METERNO="${PROJECT_SOURCE_DIR}/resources/meterno"
                                                VELORIN_CLI="$<TARGET_FILE:velorin-cli>")
add_dependencies(tst_products velorin-cli)
