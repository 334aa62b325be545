# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# The sound player on SDL2: the only place that includes SDL, its end-to-end tests on SDL's
# disk driver and its latency benchmark. Included by the top file with the desktop program.
find_package(SDL2 REQUIRED)
find_package(Threads REQUIRED)
# The player loads SDL itself when the first cue needs it (see SdlLibrary.h): it takes SDL's
# headers, not the library.
add_library(quorblex_audio STATIC ${CMAKE_SOURCE_DIR}/host/audio/SdlAudioSink.cpp
                                  ${CMAKE_SOURCE_DIR}/host/audio/SdlLibrary.cpp)
target_include_directories(quorblex_audio PRIVATE
  $<TARGET_PROPERTY:SDL2::SDL2,INTERFACE_INCLUDE_DIRECTORIES>)
target_link_libraries(quorblex_audio PUBLIC quorblex_core PRIVATE Threads::Threads ${CMAKE_DL_LIBS})

add_executable(quorblex_audio_tests ${CMAKE_SOURCE_DIR}/tests/SdlAudioSinkTest.cpp)
target_link_libraries(quorblex_audio_tests PRIVATE quorblex_audio quorblex_core SDL2::SDL2
                                                   GTest::gtest Threads::Threads)
target_compile_definitions(quorblex_audio_tests PRIVATE QUORBLEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
# Each test points the disk driver at a file of its own; these are the fallback.
quorblex_test_code(quorblex_audio_tests)
gtest_discover_tests(quorblex_audio_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "SDL_AUDIODRIVER=disk;SDL_DISKAUDIOFILE=${CMAKE_BINARY_DIR}/audio-test.raw"
             TIMEOUT 180)

add_executable(quorblex_audio_bench EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/AudioLatencyBench.cpp)
target_link_libraries(quorblex_audio_bench PRIVATE quorblex_audio SDL2::SDL2 Threads::Threads)
