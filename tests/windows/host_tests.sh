#!/bin/bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# host_tests.sh BUILD_DIR TESTS.EXE [ARGS...]: the Windows host's test program under Wine, with
# the display and notification area its windows need: a private Xvfb with trayer, and the Wine
# prefix for windowed programs (tests/windows/desktop.sh). Its exit status is the tests'.
set -euo pipefail
build=$(cd "${1:?usage: host_tests.sh BUILD_DIR TESTS.EXE [ARGS...]}" && pwd)
exe=${2:?usage: host_tests.sh BUILD_DIR TESTS.EXE [ARGS...]}
shift 2
# shellcheck source=tests/windows/desktop.sh
source "$(dirname "$0")/desktop.sh"
trap desktop_stop EXIT
desktop_prefix "$build"
desktop_display TRAY
status=0
wine64 "$exe" "$@" || status=$?
exit "$status"
