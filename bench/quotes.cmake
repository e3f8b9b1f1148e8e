quorvane_add_bench(quotes_bench
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/quotes_bench.cpp
    LIBS quotes)
