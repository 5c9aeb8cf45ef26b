engine_bench(physics SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_physics.cpp)
