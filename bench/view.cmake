add_executable(bench_list bench_list.cpp)
target_link_libraries(bench_list PRIVATE orvane_view orvane_res psapi)
