find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(CPPHTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)

quorvane_add_bench(quotes_bench
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/quotes_bench.cpp
    LIBS quotes PkgConfig::CPPHTTPLIB Threads::Threads)
