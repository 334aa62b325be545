# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# The web programs, once the core and the simulator are defined (cmake/Web.cmake says how
# everything is compiled):
#  - quorblex-sim.js: the simulator for node, reading and writing the machine's files through
#    node's own file system, so its options and transcripts are those of the Linux program;
#  - the page (host/web/) and the site around it in site/, with `package` making the zip;
#  - the tests: the recorded transcripts replayed under node, and the page in Chromium.

# The profile: a locked file under node, the browser's storage in the page.
add_library(quorblex_profile_file STATIC common/posix/ProfileFile.cpp)

find_program(QUORBLEX_NODE node REQUIRED)
# Node 20 has fetch, which Emscripten's loader then tries on the .wasm's file path and fails;
# a synchronous start reads the file with node's fs instead.
target_link_libraries(quorblex-sim PRIVATE quorblex_profile_file)
target_link_options(quorblex-sim PRIVATE -sNODERAWFS=1 -sENVIRONMENT=node
                    -sWASM_ASYNC_COMPILATION=0 -sEXIT_RUNTIME=1)

# The soak's generator writes the recorded hours' scripts for the replay under node. A test
# tool, linked at -O1: the whole-program optimisation of -O3 took five times as long.
add_executable(quorblex-hour-script tests/web/HourScript.cpp tools/soak/ScriptGenerator.cpp)
target_link_options(quorblex-hour-script PRIVATE -sNODERAWFS=1 -sENVIRONMENT=node
                    -sWASM_ASYNC_COMPILATION=0 -sEXIT_RUNTIME=1 -O1)

add_test(NAME WebSim.TranscriptRecords
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/web/sim_records.sh ${CMAKE_BINARY_DIR})
set_tests_properties(WebSim.TranscriptRecords PROPERTIES TIMEOUT 600
                     ENVIRONMENT "NODE=${QUORBLEX_NODE}")

include(${CMAKE_SOURCE_DIR}/cmake/WebSite.cmake)

# The page in headless Chromium (tests/web/web_tests.sh serves the site and walks through it).
add_test(NAME WebPage.Walk
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/web/web_tests.sh ${CMAKE_BINARY_DIR})
set_tests_properties(WebPage.Walk PROPERTIES TIMEOUT 300)
