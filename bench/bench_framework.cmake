engine_bench(framework SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_framework.cpp
                                 ${CMAKE_CURRENT_LIST_DIR}/bench_framework_bridge.cpp
                                 ${CMAKE_CURRENT_LIST_DIR}/bench_framework_sprites.cpp
                                 ${CMAKE_CURRENT_LIST_DIR}/bench_framework_particles.cpp
                                 ${CMAKE_CURRENT_LIST_DIR}/bench_framework_saves.cpp
                       DEPS framework_demo)
# The play-like levels read the generated sheets and collision file.
add_game_resources(bench_framework)
