engine_bench(game SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_game.cpp DEPS levels)
# Building levels reads the generated collision files and music.
add_game_resources(bench_game)
