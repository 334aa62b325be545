# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows tests, run by ctest under Wine (tools/wine_run.sh, the build's emulator):
#  - WindowsUnitAndBehaviour.*: the core's unit and behaviour tests, cross-compiled, in a few
#    groups (one Wine process each, two groups at a time on two cores).
#  - TranscriptRecord: quorblex-sim.exe replays the recorded transcripts of tests/records/.
# tools/windows_tests.sh builds this folder and runs ctest in it; the Windows host and the
# installer add their own tests with add_test in their cmake files.

# The recorded hours replay the soak's generator.
target_sources(quorblex_tests PRIVATE tools/soak/ScriptGenerator.cpp)

# Each group is a GoogleTest filter; what the groups leave out runs in the last one, so a new
# test file is never missed. The full scan's behaviour tests and the odds run apart: together
# they were the one group still running long after the others had ended.
set(QUORBLEX_WINDOWS_TEST_GROUPS
  "Scans:FullScan.*"
  "Odds:FullScanOdds*:AbducteeScan*"
  "Windows:MainWindow*:TrayMonitor*:AboutBox*"
  "Setup:SetupDialog*:Profile*"
  "Records:TranscriptRecord*")
# Tests that need what Windows does not have: a disk of a few KiB mounted privately for one
# process (the Linux run makes one with a mount namespace). And the tests of the source tree's
# include levels, which read the tree rather than run a program: the Linux run has them.
set(QUORBLEX_NOT_ON_WINDOWS "SetupDialog.SaveOnAFullDisk*" "Levels.*")
string(REPLACE ";" ":" not_here "${QUORBLEX_NOT_ON_WINDOWS}")
set(all_grouped "")
foreach(group ${QUORBLEX_WINDOWS_TEST_GROUPS})
  string(REPLACE ":" ";" parts "${group}")
  list(POP_FRONT parts name)
  string(REPLACE ";" ":" filter "${parts}")
  list(APPEND all_grouped ${parts})
  set(test_name WindowsUnitAndBehaviour.${name})
  if(name STREQUAL "Records")
    set(test_name TranscriptRecord)
  endif()
  add_test(NAME ${test_name}
           COMMAND quorblex_tests --gtest_filter=${filter}-${not_here} --gtest_brief=1)
endforeach()
string(REPLACE ";" ":" rest "${all_grouped}")
add_test(NAME WindowsUnitAndBehaviour.Units
         COMMAND quorblex_tests --gtest_filter=-${rest}:${not_here} --gtest_brief=1)

# Holds a file open without sharing it for a while, as a virus scanner does: the profile's tests
# save and read through such a hold.
add_executable(quorblex_file_holder tests/windows/FileHolder.cpp)
target_link_libraries(quorblex_file_holder PRIVATE shell32)
add_dependencies(quorblex_tests quorblex_file_holder)
target_compile_definitions(quorblex_tests PRIVATE
  QUORBLEX_FILE_HOLDER="${QUORBLEX_TEST_PATH_PREFIX}$<TARGET_FILE:quorblex_file_holder>")
