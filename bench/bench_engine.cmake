# Needs a display (run it under xvfb-run); scripts/test only builds it.
engine_bench(engine SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_engine.cpp DEPS pal)
