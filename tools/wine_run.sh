#!/bin/bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# wine_run.sh PREFIX PROGRAM [ARGS...]: runs a Windows program under Wine in the prefix PREFIX,
# making the prefix first when it is not there yet. A Windows build folder's ctest runs every
# test program through this (CMAKE_CROSSCOMPILING_EMULATOR, cmake/Windows.cmake).
#
# Nothing may wait for a person: Wine's offers to install Mono and Gecko are refused
# (mscoree, mshtml disabled) and a crashing program reports on standard error instead of in a
# dialog. Wine's own chatter is off (WINEDEBUG=-all). Debian's wine64 without the wine wrapper
# package lives in /usr/lib/wine.
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: wine_run.sh PREFIX PROGRAM [ARGS...]" >&2
  exit 2
fi
export WINEPREFIX=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
# Wine names files in the locale's character set, and the tests make files such as Zoë.ini: a
# shell without a UTF-8 locale (a bare root login has none) could not name them.
[ "$(locale charmap 2>/dev/null)" = UTF-8 ] || export LC_ALL=C.UTF-8
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
PATH=$PATH:/usr/lib/wine
if ! command -v wine64 >/dev/null; then
  echo "wine_run.sh: wine64 is not installed (apt-get install wine64)" >&2
  exit 127
fi

# Two tests may start at once: one makes the prefix, the other waits for it.
if [ ! -f "$WINEPREFIX/.quorblex-ready" ]; then
  mkdir -p "$WINEPREFIX"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.quorblex-ready" ]; then
    wine64 wineboot -i >/dev/null 2>&1
    wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.quorblex-ready"
  fi
  flock -u 9
  exec 9>&-
fi
exec wine64 "$@"
