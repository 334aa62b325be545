# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# libFuzzer targets for every reader of outside bytes: pictures, the clip, the profile, the cues
# and the simulator's script. In a fuzz build (QUORBLEX_FUZZ, see the top file) every library is
# already instrumented for coverage, AddressSanitizer and UndefinedBehaviorSanitizer, so each
# fuzzer is its own entry file linked against them.
#
# Needs clang (libFuzzer ships with it); use a build folder of its own:
#   cmake -S . -B build-harden -DQUORBLEX_FUZZ=ON -DQUORBLEX_DESKTOP=OFF \
#         -DCMAKE_CXX_COMPILER=clang++-14
#   cmake --build build-harden --target quorblex_fuzzers
# Run one: build-harden/fuzz/FuzzWav <corpus-copy> fuzz/corpus/wav -max_total_time=30
add_custom_target(quorblex_fuzzers)

# quorblex_add_fuzzer(NAME LIBRARIES...): fuzz/NAME.cpp linked with libFuzzer's main.
function(quorblex_add_fuzzer name)
  add_executable(${name} ${CMAKE_SOURCE_DIR}/fuzz/${name}.cpp)
  target_link_libraries(${name} PRIVATE ${ARGN})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  add_dependencies(quorblex_fuzzers ${name})
endfunction()

quorblex_add_fuzzer(FuzzBmp quorblex_core)
quorblex_add_fuzzer(FuzzAvi quorblex_core)
quorblex_add_fuzzer(FuzzIni quorblex_core)
quorblex_add_fuzzer(FuzzWav quorblex_headless quorblex_core)
# The script fuzzer runs the whole program: core, resources, program and headless host.
quorblex_add_fuzzer(FuzzScript $<TARGET_OBJECTS:quorblex_program> quorblex_headless quorblex_core)
# The cues and the clip, found by bare name as in the simulator's --data folder.
target_compile_definitions(FuzzScript PRIVATE QUORBLEX_FUZZ_DATA="${CMAKE_BINARY_DIR}/res")
add_dependencies(FuzzScript quorblex_data)
