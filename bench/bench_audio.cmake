find_package(PkgConfig REQUIRED)
pkg_check_modules(BENCH_AUDIO_LIBS REQUIRED IMPORTED_TARGET openal vorbisfile vorbisenc vorbis ogg)
engine_bench(audio
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/bench_audio.cpp
    ${PROJECT_SOURCE_DIR}/tests/audio/SoundFiles.cpp
  DEPS PkgConfig::BENCH_AUDIO_LIBS)
target_include_directories(bench_audio PRIVATE ${PROJECT_SOURCE_DIR}/tests/audio)
