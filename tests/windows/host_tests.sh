#!/bin/bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# host_tests.sh BUILD_DIR TESTS.EXE [ARGS...]: the Windows host's test program under Wine, with
# the display and notification area its windows need (a private Xvfb with trayer, and the Wine
# prefix for windowed programs, tests/windows/desktop.sh) and a sound device for its cues: ALSA's
# null device, which Wine's sound driver finds as the default one and which plays at the real
# pace. Its exit status is the tests'.
set -euo pipefail
build=$(cd "${1:?usage: host_tests.sh BUILD_DIR TESTS.EXE [ARGS...]}" && pwd)
exe=${2:?usage: host_tests.sh BUILD_DIR TESTS.EXE [ARGS...]}
shift 2
# shellcheck source=tests/windows/desktop.sh
source "$(dirname "$0")/desktop.sh"
trap desktop_stop EXIT
desktop_prefix "$build"
desktop_display TRAY
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$desktop_work/asoundrc"
status=0
ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$desktop_work/asoundrc wine64 "$exe" "$@" || status=$?
exit "$status"
