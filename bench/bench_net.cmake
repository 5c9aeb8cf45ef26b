engine_bench(net SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_net.cpp)
