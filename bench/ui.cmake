# Start-up of the main window against a minimal Qt Widgets program; run both
# with bench/ui_startup.py. Beside the program, so that the real stock list loads.
add_executable(ui_startup_bench ${CMAKE_CURRENT_LIST_DIR}/ui_startup_main.cpp ${CMAKE_CURRENT_LIST_DIR}/ui_probe.h)
target_link_libraries(ui_startup_bench PRIVATE ui)
add_executable(ui_minimal_bench ${CMAKE_CURRENT_LIST_DIR}/ui_minimal_main.cpp ${CMAKE_CURRENT_LIST_DIR}/ui_probe.h)
target_link_libraries(ui_minimal_bench PRIVATE Qt6::Widgets)
set_target_properties(ui_startup_bench ui_minimal_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
add_dependencies(ui_startup_bench quorvane_sound)
if(TARGET quorvane_data)
    add_dependencies(ui_startup_bench quorvane_data)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/ui_panel.cmake OPTIONAL)
include(${CMAKE_CURRENT_LIST_DIR}/monitor.cmake OPTIONAL)
include(${CMAKE_CURRENT_LIST_DIR}/ui_responsive.cmake OPTIONAL)
