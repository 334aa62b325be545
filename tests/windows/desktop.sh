# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the Windows desktop checks (e2e.sh, host_tests.sh): a Wine prefix for windowed
# programs and a private X server, with no person and no display of the caller's needed.
#
#   desktop_prefix BUILD_DIR   exports WINEPREFIX (BUILD_DIR/wineprefix-desktop), made once:
#                              no window manager (Wine draws the frames itself) and Wine's own
#                              fonts in the prefix, where this Wine looks for "MS Sans Serif"
#   desktop_display [TRAY]     starts Xvfb and exports DISPLAY; with TRAY, trayer too
#   desktop_stop               ends what these started, and the prefix's Wine processes
#   wait_for SECONDS WHAT COMMAND...   runs COMMAND every 50 ms until it succeeds, else fails
#                              (through the caller's own `fail` when it has one)
#
# Two checks may start at once: one makes the prefix, the other waits for it.

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export PATH=$PATH:/usr/lib/wine
desktop_work=$(mktemp -d)
desktop_xvfb=
desktop_tray=

desktop_fail() {
  echo "$(basename "$0"): FAIL: $*" >&2
  exit 1
}

wait_for() {
  local seconds=$1 what=$2
  shift 2
  local end=$((SECONDS + seconds))
  until "$@"; do
    if [ "$SECONDS" -ge "$end" ]; then
      if declare -F fail >/dev/null; then fail "no $what within $seconds s"; fi
      desktop_fail "no $what within $seconds s"
    fi
    sleep 0.05
  done
}

desktop_prefix() {
  WINEPREFIX=$(cd "$1" && pwd)/wineprefix-desktop
  export WINEPREFIX
  if [ ! -f "$WINEPREFIX/.quorblex-ready" ]; then
    mkdir -p "$WINEPREFIX"
    exec 8>"$WINEPREFIX.lock"
    flock 8
    if [ ! -f "$WINEPREFIX/.quorblex-ready" ]; then
      env -u DISPLAY wine64 wineboot -i >/dev/null 2>&1
      env -u DISPLAY wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        >/dev/null 2>&1
      env -u DISPLAY wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog \
        /t REG_DWORD /d 0 /f >/dev/null 2>&1
      local fonts=$WINEPREFIX/drive_c/windows/Fonts f
      mkdir -p "$fonts"
      for f in /usr/share/wine/fonts/*; do cp "$f" "$fonts/"; done
      wineserver -w
      [ -f "$WINEPREFIX/system.reg" ] || desktop_fail "Wine could not make $WINEPREFIX"
      touch "$WINEPREFIX/.quorblex-ready"
    fi
    flock -u 8
    exec 8>&-
  fi
  [ -e "$WINEPREFIX/drive_c/windows/Fonts/sserife.fon" ] ||
    desktop_fail "Wine's fonts are missing (apt-get install fonts-wine, then remove $WINEPREFIX)"
}

desktop_display() {
  exec 7>"$desktop_work/display"
  Xvfb -displayfd 7 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  desktop_xvfb=$!
  exec 7>&-
  wait_for 60 "X server" test -s "$desktop_work/display"
  DISPLAY=:$(head -n1 "$desktop_work/display")
  export DISPLAY
  [ "${1:-}" = "TRAY" ] || return 0
  trayer --edge top --align right --widthtype pixel --width 200 --height 32 >/dev/null 2>&1 &
  desktop_tray=$!
  # A new machine's first trayer, beside the sanitizer and web stages, once took over 20 s.
  wait_for 60 "notification area" desktop_has_panel
}

# The notification area's panel window, once trayer has made it.
desktop_panel() { xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ {print $1; exit}'; }
desktop_has_panel() { test -n "$(desktop_panel)"; }

desktop_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "$desktop_tray" ]; then kill "$desktop_tray" 2>/dev/null || true; fi
  if [ -n "$desktop_xvfb" ]; then kill "$desktop_xvfb" 2>/dev/null || true; fi
  rm -rf "$desktop_work"
}
