engine_bench(game SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_game.cpp ${CMAKE_CURRENT_LIST_DIR}/bench_game_frames.cpp
             DEPS levels run_harness)
# Building levels reads the generated collision files and music.
add_game_resources(bench_game)
