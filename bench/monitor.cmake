# The monitor's step on the offscreen platform against a stand-in service in
# the same process; its idle cost over a minute is bench/monitor_idle.py.
quorvane_add_bench(monitor_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/monitor_bench.cpp
    LIBS ui cpp-httplib Qt6::Test)
