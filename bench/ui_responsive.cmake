# The window's answer to the keyboard with the monitor on against a stalled
# service, and the failover lookup; stand-ins in the same process.
quorvane_add_bench(ui_responsive_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ui_responsive_bench.cpp
    LIBS ui cpp-httplib Qt6::Test)
target_compile_definitions(ui_responsive_bench PRIVATE QUORVANE_HAS_FAILOVER)
