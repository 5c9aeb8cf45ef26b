# Needs no display: the GUI fills its render contexts and queues them; the
# queue is emptied without drawing.
engine_bench(gui SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_gui.cpp)
add_game_resources(bench_gui)
