#!/bin/sh
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program under Wine for the build and its tests: ctest calls it for every test
# program of a Windows build folder (CMAKE_CROSSCOMPILING_EMULATOR). Debian's wine64 without the
# wine wrapper package lives in /usr/lib/wine.
PATH=$PATH:/usr/lib/wine
exec wine64 "$@"
