engine_bench(audio
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/bench_audio.cpp
    ${PROJECT_SOURCE_DIR}/tests/audio/SoundFiles.cpp
  DEPS PkgConfig::AUDIO_TEST_LIBS)
target_include_directories(bench_audio PRIVATE ${PROJECT_SOURCE_DIR}/tests/audio)
