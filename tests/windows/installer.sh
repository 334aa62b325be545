#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Windows packages of a configured Windows build folder and checks them as a user
# of Windows would meet them, under Wine in a prefix of its own inside the build folder:
#   - the zip holds exactly the staged program folder;
#   - the installer with /S (twice: the second time over the first) puts those files in
#     Program Files\Quorblex Pro with an uninstaller beside them, a Start-menu shortcut to
#     quorblex.exe, and an Apps & features entry with every value Windows shows;
#   - the installed simulator finds its data and prints the recorded transcript, and the
#     installed quorblex.exe says its version;
#   - the Start-menu shortcut starts the installed quorblex.exe, whose main window appears
#     (on a private Xvfb), and which is then ended;
#   - the uninstaller with /S removes the files, the folder, the shortcut and the entry, and
#     leaves the user's profile (%APPDATA%\Quorblex Pro\quorblex.ini) as it was.
# Every wait is on an event (a process ending, a window appearing) and bounded.
#
#   tests/windows/installer.sh BUILD_DIR
#
# Exits non-zero naming every check that failed; prints how long each stage took.
set -uo pipefail

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?usage: tests/windows/installer.sh BUILD_DIR}" && pwd)
failed=()
fail() { failed+=("$1"); echo "FAILED: $1" >&2; }
start=$SECONDS
stage_start=$SECONDS
took() { echo "== installer check: $1 took $((SECONDS - stage_start)) s"; stage_start=$SECONDS; }

# Debian's wine64 without the wine wrapper package lives in /usr/lib/wine.
export PATH=$PATH:/usr/lib/wine
export WINEPREFIX=$build/wineprefix-installer WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and Wine would offer to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

tmp=$(mktemp -d)
xvfb_pid=""
cleanup() {
  timeout 20 wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

# ---- The prefix, made while the packages build ----------------------------------------------
# Made once and kept in the build folder; what an earlier run left of ours is cleared below.
prefix_log=$build/wineprefix-installer.log
( timeout 180 wine64 wineboot -i && timeout 60 wineserver -w ) >"$prefix_log" 2>&1 &
prefix_pid=$!

cmake --build "$build" --target package >"$build/package.log" 2>&1 ||
  { cat "$build/package.log" >&2; echo "FAILED: cmake --build $build --target package" >&2; exit 1; }
took "building the packages"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup=$build/QuorblexPro-$version-setup.exe
zip=$build/QuorblexPro-$version-windows-x64.zip
folder=QuorblexPro-$version-windows-x64
stage=$build/package/$folder
for f in "$setup" "$zip" "$stage/quorblex.exe"; do
  [ -f "$f" ] || { echo "FAILED: the package step wrote no $f" >&2; exit 1; }
done
(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) >"$tmp/staged"
for f in quorblex.exe quorblex-sim.exe LICENSE.txt README.txt res/qx.avi res/welcome.wav \
         res/quorblex.html; do
  grep -qxF "$f" "$tmp/staged" || fail "staging: $f is missing"
done

# ---- The zip --------------------------------------------------------------------------------
cmake -E tar tf "$zip" | LC_ALL=C sort >"$tmp/zipped" || fail "the zip cannot be read"
sed "s|^|$folder/|" "$tmp/staged" | diff - "$tmp/zipped" >"$tmp/zipdiff" ||
  fail "the zip does not hold exactly the program folder: $(cat "$tmp/zipdiff")"

if ! wait "$prefix_pid"; then
  cat "$prefix_log" >&2
  echo "FAILED: wineboot could not make $WINEPREFIX" >&2
  exit 1
fi
took "making the Wine prefix (alongside)"

# ---- Where things go in the prefix ----------------------------------------------------------
c=$WINEPREFIX/drive_c
installed=$c/Program\ Files/Quorblex\ Pro
installed_win='C:\Program Files\Quorblex Pro'
shortcut=$c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Quorblex\ Pro.lnk
shortcut_win='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Quorblex Pro.lnk'
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorblex Pro'
appdata_win=$(timeout 60 wine64 cmd /c 'echo %APPDATA%' | tr -d '\r')
appdata=$(timeout 60 wine64 winepath -u "$appdata_win" | tr -d '\r')
profile=$appdata/Quorblex\ Pro/quorblex.ini
if [ -z "$appdata_win" ] || [ -z "$appdata" ] || [ ! -d "$appdata" ]; then
  echo "FAILED: the prefix has no AppData folder ('$appdata_win')" >&2
  exit 1
fi

# An earlier run that failed half-way may have left an install behind.
rm -rf "$installed" "$shortcut" "$appdata/Quorblex Pro"
timeout 60 wine64 reg delete "$key" /f >/dev/null 2>&1

# A user who ran the program before has a profile, with a comment of their own in it.
mkdir -p "$(dirname "$profile")"
printf '; kept across installs\r\n[Options]\r\nAutoMonitor=1\r\nSensitivity=7\r\n' >"$profile"
cp "$profile" "$tmp/profile"

# ---- Install, then install again over it ----------------------------------------------------
for round in first second; do
  timeout 120 wine64 "$setup" /S
  status=$?
  [ $status -eq 0 ] || fail "the $round silent install exited with $status"
done
took "two silent installs"

(cd "$installed" 2>/dev/null && find . -type f | sed 's|^\./||' | LC_ALL=C sort) >"$tmp/installed"
(cat "$tmp/staged"; echo uninstall.exe) | LC_ALL=C sort | diff - "$tmp/installed" >"$tmp/instdiff" ||
  fail "Program Files\\Quorblex Pro does not hold the program folder and the uninstaller: $(cat "$tmp/instdiff")"
while read -r f; do
  [ -f "$installed/$f" ] && ! cmp -s "$stage/$f" "$installed/$f" && fail "installed $f differs from the package's"
done <"$tmp/staged"

[ -f "$shortcut" ] || fail "no Start-menu shortcut at $shortcut"
[ -f "$shortcut" ] && ! grep -qaF "$installed_win\\quorblex.exe" "$shortcut" &&
  fail "the shortcut does not lead to $installed_win\\quorblex.exe"

cmp -s "$profile" "$tmp/profile" || fail "installing changed the user's profile"

# ---- The Apps & features entry --------------------------------------------------------------
timeout 60 wine64 reg query "$key" 2>/dev/null | tr -d '\r' >"$tmp/reg"
value() { awk -v name="$1" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }' "$tmp/reg"; }
expect_value() {
  [ "$(value "$1")" = "$2" ] || fail "Apps & features: $1 is '$(value "$1")', not '$2'"
}
expect_value DisplayName "Quorblex Pro"
expect_value DisplayVersion "$version"
expect_value Publisher "Quorblex Instrument Works"
expect_value DisplayIcon "$installed_win\\quorblex.exe,0"
expect_value InstallLocation "$installed_win"
expect_value UninstallString "\"$installed_win\\uninstall.exe\""
expect_value QuietUninstallString "\"$installed_win\\uninstall.exe\" /S"
expect_value NoModify 0x1
expect_value NoRepair 0x1
# The size in KB is what the folder holds, give or take the rounding of each file.
size_kb=$(du -s --apparent-size -k "$installed" 2>/dev/null | cut -f1)
estimated=$(( $(value EstimatedSize) + 0 ))
[ -n "$size_kb" ] && [ "$estimated" -gt $((size_kb * 9 / 10)) ] && [ "$estimated" -le $((size_kb + 64)) ] ||
  fail "Apps & features: EstimatedSize is $estimated KB, the folder holds ${size_kb:-?} KB"

# ---- The installed simulator finds its data beside it ---------------------------------------
# The recorded transcript of a full scan names every cue and the clip; a file the installed
# folder lacks would show as "missing" or "failed".
script_unix=$source_dir/fuzz/corpus/script/demo.script
timeout 120 wine64 "$installed_win\\quorblex-sim.exe" --seed 1 --trace \
  --profile 'C:\windows\temp\quorblex-installer-check.ini' "Z:${script_unix//\//\\}" \
  >"$tmp/demo.out" 2>"$tmp/demo.err"
echo "status $?" >>"$tmp/demo.out"
cat "$tmp/demo.err" >>"$tmp/demo.out"
cmp -s "$tmp/demo.out" "$source_dir/tests/records/demo.out" ||
  fail "the installed quorblex-sim.exe does not print the recorded demo transcript: $(diff "$source_dir/tests/records/demo.out" "$tmp/demo.out" | head -n 8)"

# ---- The installed program answers --version ------------------------------------------------
# A GUI program: it writes to the standard output it was given, and ends.
said=$(timeout 60 wine64 "$installed_win\\quorblex.exe" --version 2>/dev/null | tr -d '\r' | head -n 1)
[ "$said" = "quorblex (Quorblex Pro) $version" ] ||
  fail "the installed quorblex.exe --version said '$said'"
took "checking the installed files, shortcut, entry and programs"

# ---- The shortcut starts the installed program ----------------------------------------------
# Wine's desktop stays on the display its session began with (none, so far): end the session
# first, so that the program's begins on Xvfb.
timeout 20 wineserver -k
timeout 60 wineserver -w
mkfifo "$tmp/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
display=""
read -r -t 30 display <"$tmp/display"
if [ -z "$display" ]; then
  fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
else
  export DISPLAY=:$display
  # The program's own output (Wine's sound driver finds no card here) goes to a log.
  timeout 60 wine64 start "$shortcut_win" 2>"$tmp/program.log" ||
    fail "wine could not open the Start-menu shortcut"
  window=$(timeout 60 xdotool search --sync --name '^Quorblex Pro$' 2>/dev/null | head -n 1)
  if [ -z "$window" ]; then
    fail "no window named Quorblex Pro appeared within 60 s of opening the shortcut: $(tail -n 5 "$tmp/program.log")"
  else
    pid=$(xdotool getwindowpid "$window" 2>/dev/null)
    program=$(tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -n 1)
    [ "$program" = "$installed_win\\quorblex.exe" ] ||
      fail "the window belongs to '$program', not the installed quorblex.exe"
    mkdir -p "$build/screenshots"
    import -display "$DISPLAY" -window root "$build/screenshots/installed-program.png" 2>/dev/null
  fi
  # Ends every process of this prefix: only ours run in it.
  timeout 20 wineserver -k
  timeout 60 wineserver -w
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
  unset DISPLAY
fi
took "starting the installed program from its shortcut"

# ---- Uninstall ------------------------------------------------------------------------------
if [ -f "$installed/uninstall.exe" ]; then
  timeout 60 wine64 "$installed_win\\uninstall.exe" /S
  status=$?
  [ $status -eq 0 ] || fail "the silent uninstall exited with $status"
  # The uninstaller copies itself to the temporary folder and goes on from there after the
  # first process has ended: the prefix is quiet once it is done.
  timeout 120 wineserver -w || fail "the uninstaller was still running after 120 s"
  [ ! -e "$installed" ] || fail "uninstalling left $(cd "$installed" && find . | head -n 5 | tr '\n' ' ')"
  [ ! -e "$shortcut" ] || fail "uninstalling left the Start-menu shortcut"
  timeout 60 wine64 reg query "$key" >/dev/null 2>&1 && fail "uninstalling left the Apps & features entry"
  cmp -s "$profile" "$tmp/profile" || fail "uninstalling removed or changed the user's profile"
else
  fail "no uninstaller to run"
fi
took "the silent uninstall"

echo "== installer check: $((SECONDS - start)) s in all"
if [ ${#failed[@]} -gt 0 ]; then
  echo "installer check: ${#failed[@]} check(s) failed" >&2
  exit 1
fi
echo "installer check: all passed ($(du -k "$setup" | cut -f1) KB installer, $(du -k "$zip" | cut -f1) KB zip)"
