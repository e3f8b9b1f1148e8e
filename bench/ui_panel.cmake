# The stock panel's keystroke search and quote lookup, on the offscreen platform
# against a stand-in service in the same process.
quorvane_add_bench(ui_panel_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ui_panel_bench.cpp
    LIBS ui cpp-httplib Qt6::Test)
