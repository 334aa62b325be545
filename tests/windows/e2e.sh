#!/bin/bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# e2e.sh BUILD_DIR: quorblex.exe of a Windows build folder under Wine, on a private Xvfb with
# trayer as the notification area, driven with xdotool as a user would:
#   - the main window appears with its caption, and the icon docks in the notification area;
#     the program runs as a copy in a folder of its own, beside a DLL planted there under the
#     names of two DLLs it uses (Wine told to prefer such a DLL, as Windows would), which it
#     must never load;
#   - two screenshots of the lamp row 100 ms apart differ (the sweep runs);
#   - Alt+S opens "Scanning..."; Escape cuts the scan short, and Enter closes its results;
#   - Alt+M hides the window, and a click on the icon brings it back;
#   - Setup, where the keyboard changes five of the eight options, then Enter (OK), writes all
#     eight, with the values set, into AppData\Roaming\Quorblex Pro\quorblex.ini of the Wine
#     prefix;
#   - Exit ends the program with status 0.
# Screenshots go to BUILD_DIR/screenshots/win32-*.png. Runs as root with no display of its own
# (CI): it starts its own X server, uses a Wine prefix of its own inside BUILD_DIR, and ends
# everything it started. Every wait is for a real event, with a bound.
set -euo pipefail

build=$(cd "${1:?usage: e2e.sh BUILD_DIR}" && pwd)
exe=$build/quorblex.exe
shots=$build/screenshots
# shellcheck source=tests/windows/desktop.sh
source "$(dirname "$0")/desktop.sh"
mkdir -p "$shots"
program=

say() { echo "e2e: $*"; }
fail() {
  if [ -n "${DISPLAY:-}" ]; then import -window root "$shots/win32-failure.png" 2>/dev/null || true; fi
  desktop_fail "$*"
}
cleanup() {
  if [ -n "$program" ]; then kill "$program" 2>/dev/null || true; fi
  desktop_stop
}
trap cleanup EXIT

desktop_prefix "$build"
profile=$(find "$WINEPREFIX/drive_c/users" -maxdepth 1 -mindepth 1 -type d ! -name Public | head -n1)
ini="$profile/AppData/Roaming/Quorblex Pro/quorblex.ini"
# The lowest sensitivity: the monitor's first look, a minute in, then offers a scan only one
# time in ten, so no alert comes in the way of the keys below. Setup changes it, and others.
mkdir -p "$(dirname "$ini")"
printf '[Options]\r\nSensitivity=1\r\n' >"$ini"
desktop_display TRAY
work=$desktop_work

# ---- The program ----------------------------------------------------------------------------
geometry=$work/geometry.txt
copy=$work/program
mkdir -p "$copy"
cp "$exe" "$copy/"
ln -s "$build/res" "$copy/res"
for dll in winmm bcrypt; do cp "$build/quorblex_planted.dll" "$copy/$dll.dll"; done
(cd "$copy" && QUORBLEX_DUMP_GEOMETRY="Z:$geometry" \
   WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winmm,bcrypt=n,b" exec wine64 "$copy/quorblex.exe") \
  >"$work/program.log" 2>&1 &
program=$!

window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
shown() { test -n "$(window "$1")"; }
hidden() { test -z "$(window "$1")"; }
shot() { import -window root "$shots/win32-$1.png"; }

wait_for 60 "main window" shown "Quorblex Pro"
wait_for 20 "main window layout" grep -qs '^102 window' "$geometry"
say "the main window is up, caption \"Quorblex Pro\""

# The icon is a window of Wine's explorer embedded in the panel.
icon() {
  local p
  p=$(desktop_panel)
  [ -n "$p" ] && xwininfo -children -id "$p" | awk '/^ +0x/ {print $1}' | while read -r child; do
    xwininfo -children -id "$child" | awk '/"explorer.exe"/ {print $1; exit}'
  done | head -n1
}
docked() { test -n "$(icon)"; }
wait_for 30 "icon in the notification area" docked
read -r icon_x icon_y < <(xwininfo -id "$(icon)" |
  awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Width/ {w=$2} /Height/ {h=$2}
       END {print x + int(w / 2), y + int(h / 2)}')
say "the icon docked at $icon_x,$icon_y"
shot main

# ---- The lamp row sweeps ----------------------------------------------------------------------
# The lamps' box from the layout dump (client origin plus the lamps' rectangles).
read -r lx ly lw lh < <(awk '
  $1 == "102" && $2 == "window" {ox = $3; oy = $4; next}
  $1 == "102" && $2 + 0 >= 1008 && $2 + 0 <= 1018 {
    if (!n || $3 < x0) x0 = $3
    if (!n || $4 < y0) y0 = $4
    if (!n || $3 + $5 > x1) x1 = $3 + $5
    if (!n || $4 + $6 > y1) y1 = $4 + $6
    n++ }
  END {print ox + x0, oy + y0, x1 - x0, y1 - y0}' "$geometry")
[ "$lw" -gt 0 ] && [ "$lh" -gt 0 ] || fail "no lamps in the layout dump"
lamps() { import -window root -crop "${lw}x${lh}+${lx}+${ly}" "$1"; }
# The sweep turns at the ends, where two looks 100 ms apart can find the same lamp lit: a few
# pairs are taken until one differs.
differs=0
for attempt in 1 2 3 4 5 6; do
  lamps "$work/lamps-a.png"
  sleep 0.1
  lamps "$work/lamps-b.png"
  # compare says 0 for the same pictures, 1 for different ones, and 2 when it could not compare
  # them (a missing tool or picture), which is no evidence either way.
  same=0
  compare -metric AE "$work/lamps-a.png" "$work/lamps-b.png" null: >/dev/null 2>&1 || same=$?
  [ "$same" -le 1 ] || fail "compare could not compare the lamps' screenshots (status $same)"
  if [ "$same" -eq 1 ]; then
    differs=1
    break
  fi
done
[ "$differs" -eq 1 ] || fail "the lamp row did not change in 100 ms (6 tries)"
cp "$work/lamps-a.png" "$shots/win32-lamps-a.png"
cp "$work/lamps-b.png" "$shots/win32-lamps-b.png"
say "the lamp row changes within 100 ms (try $attempt)"

# ---- Keys: Alt+S opens the scan -----------------------------------------------------------
# A click on the caption makes the window active, as a user's would.
read -r wx wy _ _ < <(awk '$1 == "102" && $2 == "window" {print $3, $4, $5, $6}' "$geometry")
activate() { xdotool mousemove "$((wx + 60))" "$((wy - 8))" click 1; }
activate
xdotool key alt+s
wait_for 20 '"Scanning..." window after Alt+S' shown "Scanning..."
shot scanning
say 'Alt+S opened "Scanning..."'
xdotool key Escape
wait_for 20 '"Scanning..." to close on Escape' hidden "Scanning..."
wait_for 20 '"Scan Results" after the scan' shown "Scan Results"
xdotool key Return
wait_for 20 '"Scan Results" to close on Enter' hidden "Scan Results"

# ---- Alt+M hides the window; a click on the icon brings it back ---------------------------
activate
xdotool key alt+m
wait_for 20 "main window to hide on Alt+M" hidden "Quorblex Pro"
shot hidden
xdotool mousemove "$icon_x" "$icon_y" click 1
wait_for 20 "main window back after a click on the icon" shown "Quorblex Pro"
shot restored
say "Alt+M hid the window; a click on the icon brought it back"

# ---- Setup, OK: the eight options in the profile --------------------------------------------
# The profile holds Sensitivity=1 and leaves the rest on. The keys untick Use Sounds, Active,
# Dial Psychic Hotline and Ask A Lunatic, and move the trackbar to its top: every key that
# Setup writes is checked for its value, and five of them differ from what was there.
activate
xdotool key alt+t
wait_for 20 "Setup window" shown "Setup"
xdotool key space Tab space Tab End Tab space Tab Tab space
shot setup
xdotool key Return
wait_for 20 "Setup to close on Enter" hidden "Setup"
for expected in UseSounds=0 Monitor=0 Scan1=0 Scan2=1 Scan3=0 Scan4=1 Scan5=1 Sensitivity=10; do
  grep -qx "$expected" <(tr -d '\r' <"$ini") || fail "quorblex.ini lacks $expected: $(cat "$ini")"
done
say "Setup wrote the eight options as set to ${ini#"$WINEPREFIX"/}"

# ---- Exit ------------------------------------------------------------------------------------
activate
xdotool key alt+x
end=$((SECONDS + 20))
while kill -0 "$program" 2>/dev/null; do
  [ "$SECONDS" -lt "$end" ] || fail "the program did not end within 20 s of Exit"
  sleep 0.05
done
status=0
wait "$program" || status=$?
program=
[ "$status" -eq 0 ] || fail "the program ended with status $status"
say "Exit ended the program with status 0"
loaded=$(find "$copy" -iname '*.dll.loaded' -printf '%f ')
[ -z "$loaded" ] || fail "the program loaded DLLs planted beside it: $loaded"
say "the DLLs planted beside the program were never loaded"
say "PASS (screenshots in $shots)"
