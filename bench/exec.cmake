# Benchmarks of the execution module, included from bench/CMakeLists.txt. They
# print figures and are not tests; run them by hand under Wine.
add_executable(bench_exec ${CMAKE_CURRENT_LIST_DIR}/bench_exec.cpp)
target_link_libraries(bench_exec PRIVATE orvane_exec orvane_operation_dialogs user32)

add_executable(bench_export ${CMAKE_CURRENT_LIST_DIR}/bench_export.cpp)
target_link_libraries(bench_export PRIVATE orvane_exec orvane_operation_dialogs user32)

add_executable(bench_moves ${CMAKE_CURRENT_LIST_DIR}/bench_moves.cpp)
target_link_libraries(bench_moves PRIVATE orvane_exec orvane_operation_dialogs user32)

add_executable(bench_content ${CMAKE_CURRENT_LIST_DIR}/bench_content.cpp)
target_link_libraries(bench_content PRIVATE orvane_exec orvane_operation_dialogs user32)
