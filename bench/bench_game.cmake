engine_bench(game SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_game.cpp ${CMAKE_CURRENT_LIST_DIR}/bench_game_frames.cpp
                          ${PROJECT_SOURCE_DIR}/tests/support/renderer/Renderer_FrameGateRenderer.cpp
             DEPS levels run_harness)
# The play frame is played by the play-through tests' autopilot, on the
# OpenGL renderer behind the tests' drawing gate.
target_include_directories(bench_game PRIVATE ${PROJECT_SOURCE_DIR}/tests/levels ${PROJECT_SOURCE_DIR}/tests/support)
# Building levels reads the generated collision files and music.
add_game_resources(bench_game)
