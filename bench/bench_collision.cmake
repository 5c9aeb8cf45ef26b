# One program for the collision world's benchmarks. Box2D is the reference
# of the broad-phase and object-lifetime benchmarks and is linked into this
# program only.
engine_bench(collision
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/bench_collision.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bench_collision_swept.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bench_collision_broadphase.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bench_collision_lifetime.cpp
  DEPS box2d::box2d)
