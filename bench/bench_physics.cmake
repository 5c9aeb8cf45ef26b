engine_bench(physics SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_physics.cpp ${CMAKE_CURRENT_LIST_DIR}/bench_physics_scenes.cpp)
# The reference engine is linked into this benchmark only.
target_link_libraries(bench_physics PRIVATE box2d::box2d)
