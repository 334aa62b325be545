# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# quorblex-soak: days of random input on virtual time through quorblex-sim, every transcript
# line checked. Registered as a test: 20 users of 24 virtual hours each. In a sanitizer build
# the simulator runs with AddressSanitizer, whose leak check at each exit makes this the leak
# check as well. ./test.sh runs one virtual hour per user; --long runs the full 24.
# Its parts are compiled once, for the soak, its tests and the recorded transcripts' test.
add_library(quorblex_soak_parts STATIC tools/soak/ScriptGenerator.cpp tools/soak/SimProcess.cpp
                                       tools/soak/TranscriptChecker.cpp)
target_link_libraries(quorblex_soak_parts PUBLIC quorblex_core pthread)
add_executable(quorblex-soak tools/soak/Soak.cpp)
target_link_libraries(quorblex-soak PRIVATE quorblex_soak_parts)
add_dependencies(quorblex-soak quorblex-sim quorblex_data)

set(QUORBLEX_SOAK_SEEDS 20 CACHE STRING "Users the soak test simulates")
set(QUORBLEX_SOAK_HOURS 1 CACHE STRING "Virtual hours per user in the soak test")
add_test(NAME Soak.RandomUse
  COMMAND quorblex-soak --sim $<TARGET_FILE:quorblex-sim> --data ${CMAKE_BINARY_DIR}/res
          --seeds ${QUORBLEX_SOAK_SEEDS} --hours ${QUORBLEX_SOAK_HOURS} --jobs 2
          --run-timeout 600 --keep ${CMAKE_BINARY_DIR}/soak-failures)
set_tests_properties(Soak.RandomUse PROPERTIES TIMEOUT 1500 PROCESSORS 2)

# The soak's own parts: the generator, the checker and the process runner.
add_executable(quorblex_soak_tests tools/soak/ScriptGeneratorTest.cpp
  tools/soak/TranscriptCheckerTest.cpp tools/soak/SimProcessTest.cpp)
target_link_libraries(quorblex_soak_tests PRIVATE quorblex_soak_parts quorblex_headless
                                                  quorblex_core GTest::gtest_main)
quorblex_test_code(quorblex_soak_tests)
gtest_discover_tests(quorblex_soak_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)

# The recorded transcripts replay an hour of the generator's random use.
target_link_libraries(quorblex_tests PRIVATE quorblex_soak_parts)
