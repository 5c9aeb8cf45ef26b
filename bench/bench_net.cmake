engine_bench(net SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_net.cpp ${CMAKE_CURRENT_LIST_DIR}/bench_net_sessions.cpp DEPS framework)
