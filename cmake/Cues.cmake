# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Tests of the committed sound cues, run by ctest like the rest: their format and exact
# lengths (the program's virtual time counts on them), and whether a speech recogniser makes
# out each spoken cue as its own words. Each fails, naming what is missing, when sox,
# pocketsphinx or its US English model is not installed (tools/packages.sh lists them).
add_test(NAME Cues.FormatAndLength
         COMMAND bash ${CMAKE_SOURCE_DIR}/tools/check_cues.sh ${CMAKE_SOURCE_DIR}/res/sounds)
# Debian's pocketsphinx module is installed for the system Python, not for any other on PATH.
add_test(NAME Cues.Recognised
         COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/recognise_cues.py
                 --sounds ${CMAKE_SOURCE_DIR}/res/sounds
                 --generator ${CMAKE_SOURCE_DIR}/tools/gen_cues.sh)
set_tests_properties(Cues.FormatAndLength Cues.Recognised PROPERTIES TIMEOUT 300)
