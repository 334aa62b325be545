# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# The checks of quorblex.exe and its Windows host, run by ctest under Wine:
#  - Win32Host.Tests: the host's own tests (keys, the icon's messages, pictures, one dialog's
#    controls and input, Wait, activation, the icon, the cues), on a private X server with
#    ALSA's null device as the sound device;
#  - Win32Program.EndToEnd: the program driven as a user would (tests/windows/e2e.sh), from a
#    folder where a DLL has been planted under the names of two it uses;
#  - Win32Program.CommandLine: --version and --help on standard output, an unknown option
#    refused with status 2;
#  - Win32Program.Binary: quorblex.exe is a 64-bit program for the windowed subsystem (what it
#    imports, WindowsPrograms.ImportOnlyWhatWindowsHas checks).
# The first two share a Wine prefix made for windowed programs, so they take turns.
add_executable(quorblex_win32_tests
  ${CMAKE_SOURCE_DIR}/tests/windows/BitmapCacheTest.cpp
  ${CMAKE_SOURCE_DIR}/tests/windows/Win32HostTest.cpp
  ${CMAKE_SOURCE_DIR}/tests/windows/DialogWindowTest.cpp
  ${CMAKE_SOURCE_DIR}/tests/windows/KeyInputTest.cpp
  ${CMAKE_SOURCE_DIR}/tests/windows/TestPictures.cpp
  ${CMAKE_SOURCE_DIR}/tests/windows/TextAndSoundTest.cpp
  ${CMAKE_SOURCE_DIR}/tests/windows/WindowsCommandLineTest.cpp
  ${CMAKE_SOURCE_DIR}/tests/windows/WinmmAudioSinkTest.cpp
  ${CMAKE_SOURCE_DIR}/windows/WindowsCommandLine.cpp
  ${QUORBLEX_RC})
target_link_libraries(quorblex_win32_tests PRIVATE quorblex_win32 quorblex_core GTest::gtest_main)
quorblex_test_code(quorblex_win32_tests)

# What the end-to-end check plants beside a copy of quorblex.exe, under the names of DLLs the
# program uses.
add_library(quorblex_planted SHARED ${CMAKE_SOURCE_DIR}/tests/windows/PlantedLibrary.cpp)
set_target_properties(quorblex_planted PROPERTIES PREFIX "")
add_dependencies(quorblex_win32_tests quorblex_planted)

add_test(NAME Win32Host.Tests
  COMMAND ${CMAKE_SOURCE_DIR}/tests/windows/host_tests.sh ${CMAKE_BINARY_DIR}
          $<TARGET_FILE:quorblex_win32_tests> --gtest_brief=1)
add_test(NAME Win32Program.EndToEnd
  COMMAND ${CMAKE_SOURCE_DIR}/tests/windows/e2e.sh ${CMAKE_BINARY_DIR})
set_tests_properties(Win32Host.Tests Win32Program.EndToEnd PROPERTIES
  RESOURCE_LOCK wineprefix-desktop TIMEOUT 300)

# The window-less half of the program: what it says about itself, in the build's prefix.
add_test(NAME Win32Program.CommandLine
  COMMAND bash -c [[
    version=$1; shift
    run() { "$@" 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }
    v=$(run "$@" --version) || { echo "--version failed"; exit 1; }
    [ "$(printf '%s\n' "$v" | head -n1)" = "quorblex (Quorblex Pro) $version" ] &&
      printf '%s\n' "$v" | grep -q 'GPL-3.0-or-later' || { echo "--version said: $v"; exit 1; }
    run "$@" --help | head -n1 | grep -q '^usage: quorblex ' || { echo "--help is wrong"; exit 1; }
    err=$(run "$@" --frobnicate); s=$?
    [ $s -eq 2 ] || { echo "unknown option exits $s, not 2"; exit 1; }
    [ "$(printf '%s\n' "$err" | head -n1)" = "quorblex: unknown option --frobnicate" ] ||
      { echo "unknown option said: $err"; exit 1; }
    ]] bash ${PROJECT_VERSION} ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:quorblex>)

add_test(NAME Win32Program.Binary
  COMMAND bash -c [=[
    headers=$(x86_64-w64-mingw32-objdump -p "$1") || exit 1
    grep -q '^Magic[[:space:]]*020b' <<<"$headers" || { echo "not a 64-bit program"; exit 1; }
    grep -q '^Subsystem[[:space:]].*Windows GUI' <<<"$headers" || { echo "not windowed"; exit 1; }
    ]=] bash $<TARGET_FILE:quorblex>)
