engine_bench(framework SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_framework.cpp
                                 ${CMAKE_CURRENT_LIST_DIR}/bench_framework_bridge.cpp)
