# The environment of every test: offscreen windows, a fixed locale and time
# zone, the sanitizers' options, no proxy.
set(QUORVANE_TEST_ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;LANG=C.UTF-8;TZ=Asia/Shanghai;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;http_proxy=;HTTP_PROXY=;https_proxy=;all_proxy=;no_proxy=*")

# quorvane_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [QT])
# Registers one test executable with CTest. Logic tests use GoogleTest;
# QT tests use QtTest and run on the offscreen platform.
function(quorvane_add_test name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_QT)
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
    else()
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
    endif()
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE QUORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 300
        ENVIRONMENT "${QUORVANE_TEST_ENVIRONMENT}")
endfunction()
