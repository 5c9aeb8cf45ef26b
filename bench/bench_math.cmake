engine_bench(math SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_math.cpp)
