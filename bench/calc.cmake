quorvane_add_bench(calc_bench
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/calc_bench.cpp
    LIBS calc)
