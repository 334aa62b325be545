# libFuzzer targets for every reader of outside bytes: pictures, the clip, the profile, the cues
# and the simulator's script. Each fuzzer compiles the sources it needs itself, instrumented
# for coverage, AddressSanitizer and UndefinedBehaviorSanitizer.
#
# Needs clang (libFuzzer ships with it); use a build folder of its own:
#   cmake -S . -B build-fuzz -DQUORBLEX_FUZZ=ON -DQUORBLEX_DESKTOP=OFF \
#         -DCMAKE_CXX_COMPILER=clang++-14
#   cmake --build build-fuzz --target quorblex_fuzzers
# Run one: build-fuzz/fuzz/FuzzWav <corpus-copy> fuzz/corpus/wav -max_total_time=30
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "QUORBLEX_FUZZ needs clang (e.g. -DCMAKE_CXX_COMPILER=clang++-14)")
endif()

set(FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
               -fno-omit-frame-pointer)
add_custom_target(quorblex_fuzzers)

# quorblex_add_fuzzer(NAME SOURCES...): fuzz/NAME.cpp plus the core sources it reads through.
function(quorblex_add_fuzzer name)
  if(NOT EXISTS ${CMAKE_SOURCE_DIR}/fuzz/${name}.cpp)
    return()
  endif()
  add_executable(${name} ${CMAKE_SOURCE_DIR}/fuzz/${name}.cpp ${ARGN})
  target_compile_options(${name} PRIVATE ${FUZZ_FLAGS})
  target_link_options(${name} PRIVATE ${FUZZ_FLAGS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  add_dependencies(quorblex_fuzzers ${name})
endfunction()

set(SRC ${CMAKE_SOURCE_DIR})
quorblex_add_fuzzer(FuzzBmp ${SRC}/common/BmpImage.cpp)
quorblex_add_fuzzer(FuzzAvi ${SRC}/common/AviClip.cpp ${SRC}/common/BmpImage.cpp)
quorblex_add_fuzzer(FuzzIni ${SRC}/common/IniText.cpp)
quorblex_add_fuzzer(FuzzWav ${SRC}/common/WavInfo.cpp ${SRC}/common/DataFiles.cpp
                            ${SRC}/host/headless/HeadlessAudio.cpp
                            ${SRC}/host/headless/Transcript.cpp)
# The script fuzzer runs the whole program: core, resources, program and headless host.
quorblex_add_fuzzer(FuzzScript ${CORE_SOURCES} ${SRC}/res/Dialogs.cpp ${SRC}/res/Strings.cpp
                               ${PICTURES_CPP} ${PROGRAM_SOURCES} ${HEADLESS_SOURCES})
if(TARGET FuzzScript)
  # The cues and the clip, found by bare name as in the simulator's --data folder.
  target_compile_definitions(FuzzScript PRIVATE QUORBLEX_FUZZ_DATA="${CMAKE_BINARY_DIR}/res")
  add_dependencies(FuzzScript quorblex_data)
endif()
