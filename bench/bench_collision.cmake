engine_bench(collision
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/bench_collision.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bench_collision_swept.cpp)
